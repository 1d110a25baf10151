#include "dialogs/small/mudabout.h"

#include "dialogs/small/DialogFrame.h"

#include <QApplication>
#include <QFrame>
#include <QIcon>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QStringList>

namespace
{

const char* const kMakersNotice = "Ein Client für textbasierte\n"
                                  "Mehrspieler-Welten (MUDs).\n"
                                  "\n"
                                  "Geschrieben von Kelmoth.\n"
                                  "Benutzung auf eigene Gefahr.";

// Stands in when the application has no icon of its own.
QPixmap DrawnProgramIcon()
{
    QPixmap pixmap(32, 32);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(0x10, 0x20, 0x60), 1.5));
    p.setBrush(QColor(0x30, 0x50, 0xB0));
    p.drawRoundedRect(QRectF(2, 2, 28, 28), 5, 5);
    QFont font("Times New Roman");
    font.setPixelSize(22);
    font.setBold(true);
    p.setFont(font);
    p.setPen(Qt::white);
    p.drawText(QRect(2, 2, 28, 28), Qt::AlignCenter, "K");
    return pixmap;
}

QLabel* PanelLabel(QWidget* parent, const QRect& geometry, Qt::Alignment align)
{
    auto* label = new QLabel(parent);
    label->setGeometry(geometry);
    label->setAlignment(align);
    return label;
}

} // namespace

TMudAboutFrm::TMudAboutFrm(QWidget* parent)
    : QDialog(parent), pnlAbout(new QFrame(this)),
      imgProgramIcon(PanelLabel(pnlAbout, QRect(8, 8, 32, 32), Qt::AlignCenter)),
      lblProductName(PanelLabel(pnlAbout, QRect(46, 8, 232, 24), Qt::AlignLeft | Qt::AlignVCenter)),
      Version(PanelLabel(pnlAbout, QRect(46, 32, 232, 16), Qt::AlignLeft | Qt::AlignVCenter)),
      lblComments(PanelLabel(pnlAbout, QRect(8, 54, 266, 16), Qt::AlignCenter)),
      Info(PanelLabel(pnlAbout, QRect(8, 72, 266, 90), Qt::AlignCenter)),
      Build(PanelLabel(this, QRect(8, 192, 100, 16), Qt::AlignLeft | Qt::AlignVCenter)),
      btnOk(new QPushButton("OK", this))
{
    setWindowTitle("Info");
    DialogFrame::SetupFixed(this, 298, 222);

    pnlAbout->setGeometry(8, 8, 282, 170);
    pnlAbout->setFrameStyle(QFrame::Panel | QFrame::Raised);

    const QIcon appIcon = QApplication::windowIcon();
    imgProgramIcon->setPixmap(appIcon.isNull() ? DrawnProgramIcon() : appIcon.pixmap(32, 32));

    lblProductName->setText("Kelmoth's Mud-Client");
    QFont nameFont = font();
    nameFont.setPixelSize(19);
    nameFont.setBold(true);
    lblProductName->setFont(nameFont);
    QPalette namePalette = lblProductName->palette();
    namePalette.setColor(QPalette::WindowText, Qt::blue);
    lblProductName->setPalette(namePalette);

    QPalette commentPalette = lblComments->palette();
    commentPalette.setColor(QPalette::WindowText, Qt::red);
    lblComments->setPalette(commentPalette);

    btnOk->setGeometry(110, 188, 77, 25);
    btnOk->setDefault(true);
    connect(btnOk, &QPushButton::clicked, this, &QDialog::accept);
}

QString TMudAboutFrm::BuildText(const QString& revision)
{
    const QStringList words = revision.split(' ', Qt::SkipEmptyParts);
    return " Build " + (words.size() > 1 ? words.at(1) : QString());
}

void TMudAboutFrm::Prepare(const QString& revision)
{
    Version->setText("Version V1.0b1");
    Info->setText(kMakersNotice);
    Build->setText(BuildText(revision));
}

void TMudAboutFrm::Execute(const QString& revision)
{
    Prepare(revision);
    DialogFrame::CenterOnScreen(this);
    exec();
}
