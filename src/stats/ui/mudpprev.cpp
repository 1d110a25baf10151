#include "mudpprev.h"

#include "platform/DateTime.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace {

constexpr int kPaperGap = 8; // free space around the drawn sheet

class TPaintBox : public QWidget {
public:
    TPaintBox(TMudVorkaPrintPreview* owner) : QWidget(owner), FOwner(owner) {}

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        FOwner->PaintBox1Paint(p);
    }

private:
    TMudVorkaPrintPreview* FOwner;
};

} // namespace

TMudVorkaPrintPreview::TMudVorkaPrintPreview(const QTableWidget& grid, QWidget* parent)
    : QDialog(parent), FGrid(grid), FStamp(DateTime::dateTimeToStr(DateTime::now()))
{
    setWindowTitle(QStringLiteral("KMC Ternu-O-Matic(tm) Druck-Voransicht"));
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::white);
    setPalette(pal);
    setAutoFillBackground(true);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    PaintBox1 = new TPaintBox(this);
    layout->addWidget(PaintBox1, 1);
    auto* strip = new QWidget(this);
    strip->setFixedHeight(40);
    auto* row = new QHBoxLayout(strip);
    row->setContentsMargins(8, 6, 8, 6);
    row->addStretch(1);
    btnClose = new QPushButton(QStringLiteral("Schließen"), strip);
    btnClose->setAutoDefault(false);
    row->addWidget(btnClose);
    layout->addWidget(strip);
    connect(btnClose, &QPushButton::clicked, this, &QDialog::reject);

    setFixedSize(423, 364);
    if (const QScreen* screen = this->screen())
        move(screen->availableGeometry().center() - rect().center());
}

TVorkaPrintJob TMudVorkaPrintPreview::Job() const
{
    return TVorkaPrintJob{VorkaTableFromGrid(FGrid), FStamp};
}

int TMudVorkaPrintPreview::PageCount() const
{
    return LayoutVorkaPages(Job().Table, VorkaLogicalPage(210, 297)).PageCount;
}

void TMudVorkaPrintPreview::SetPage(int page)
{
    FPage = std::clamp(page, 0, PageCount() - 1);
    PaintBox1->update();
}

void TMudVorkaPrintPreview::PaintBox1Paint(QPainter& p)
{
    const TVorkaPrintJob job = Job();
    const QSizeF page = VorkaLogicalPage(210, 297);
    const TVorkaPageLayout layout = LayoutVorkaPages(job.Table, page);
    const QRectF area = QRectF(PaintBox1->rect()).adjusted(kPaperGap, kPaperGap, -kPaperGap, 0);
    const qreal scale = std::min(area.width() / page.width(), area.height() / page.height());
    if (scale <= 0)
        return;
    const QSizeF sheet = page * scale;
    const QPointF origin(area.center().x() - sheet.width() / 2, area.top());

    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.setPen(Qt::gray);
    p.setBrush(Qt::white);
    p.drawRect(QRectF(origin, sheet));
    p.translate(origin);
    p.scale(scale, scale);
    PaintVorkaPage(p, job, layout, std::min(FPage, layout.PageCount - 1));
}

void TMudVorkaPrintPreview::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_PageDown)
        SetPage(FPage + 1);
    else if (event->key() == Qt::Key_PageUp)
        SetPage(FPage - 1);
    else
        QDialog::keyPressEvent(event);
}
