#include "display/controls/FnpComboColor.h"

#include "platform/Win1252.h"

#include <QAbstractItemDelegate>
#include <QAbstractItemView>
#include <QPainter>
#include <QStyleOptionComboBox>
#include <QStylePainter>

namespace
{

constexpr int kColorRole = Qt::UserRole;
constexpr int kNameRole = Qt::UserRole + 1;
constexpr int kTextGap = 4;

// Draws the list entries the same way as the closed box.
class TColorItemDelegate : public QAbstractItemDelegate
{
public:
    explicit TColorItemDelegate(TFnpComboColor* combo) : QAbstractItemDelegate(combo), FCombo(combo)
    {
    }

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override
    {
        const bool selected = option.state & QStyle::State_Selected;
        FCombo->DrawItem(*painter, index.row(), option.rect, selected);
    }

    QSize sizeHint(const QStyleOptionViewItem& /*option*/, const QModelIndex& index) const override
    {
        const int textWidth = FCombo->fontMetrics().horizontalAdvance(index.data().toString());
        return QSize(FCombo->ColorWidth() + kTextGap + textWidth, FCombo->ItemHeight());
    }

private:
    TFnpComboColor* FCombo;
};

} // namespace

TFnpComboColor::TFnpComboColor(QWidget* parent) : QComboBox(parent)
{
    setEditable(false);
    setItemDelegate(new TColorItemDelegate(this));
}

void TFnpComboColor::SetColorWidth(int value)
{
    FColorWidth = value;
    updateGeometry();
    update();
    view()->viewport()->update();
}

int TFnpComboColor::AddColor(const QByteArray& name, TColor color)
{
    const int position = InsertPosition(name, color);
    insertItem(position, Win1252::toUnicode(name));
    setItemData(position, color, kColorRole);
    setItemData(position, name, kNameRole);
    return position;
}

int TFnpComboColor::InsertPosition(const QByteArray& name, TColor color) const
{
    const int n = count();
    if (FSortBy == ccsColor) {
        for (int i = 0; i < n; ++i)
            if (ColorAt(i) > color) return i;
    } else if (FSortBy == ccsText) {
        const QByteArray key = Win1252::upperCase(name);
        for (int i = 0; i < n; ++i)
            if (Win1252::upperCase(NameAt(i)) > key) return i;
    }
    return n;
}

TColor TFnpComboColor::ColorAt(int index) const
{
    return TColor(itemData(index, kColorRole).toInt());
}

QByteArray TFnpComboColor::NameAt(int index) const
{
    return itemData(index, kNameRole).toByteArray();
}

TColor TFnpComboColor::SelectedColor() const
{
    const int index = currentIndex();
    return index < 0 ? 0 : ColorAt(index);
}

void TFnpComboColor::SelectColor(TColor color)
{
    for (int i = 0; i < count(); ++i) {
        if (ColorAt(i) == color) {
            setCurrentIndex(i);
            return;
        }
    }
}

int TFnpComboColor::ItemHeight() const
{
    return fontMetrics().height() + 2;
}

void TFnpComboColor::DrawItem(QPainter& painter, int index, const QRect& rect, bool selected) const
{
    const QPalette& pal = palette();
    const QColor background = pal.color(selected ? QPalette::Highlight : QPalette::Base);
    const QColor pen = pal.color(selected ? QPalette::HighlightedText : QPalette::Text);
    painter.fillRect(rect, background);
    if (index < 0 || index >= count()) return;

    const QRect outline(QPoint(rect.left() + 1, rect.top() + 1),
                        QPoint(rect.left() + FColorWidth - 2, rect.top() + ItemHeight() - 2));
    if (outline.isValid()) {
        painter.fillRect(outline, pen);
        painter.fillRect(outline.adjusted(1, 1, -1, -1), ResolveColor(ColorAt(index), pal));
    }
    const QRect textRect(QPoint(rect.left() + FColorWidth + kTextGap, rect.top() + 1),
                         QPoint(rect.right(), rect.bottom() - 1));
    painter.setPen(pen);
    painter.setFont(font());
    painter.drawText(textRect, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                     itemText(index));
}

void TFnpComboColor::paintEvent(QPaintEvent* /*event*/)
{
    QStylePainter painter(this);
    QStyleOptionComboBox option;
    initStyleOption(&option);
    option.currentText.clear();
    option.currentIcon = QIcon();
    painter.drawComplexControl(QStyle::CC_ComboBox, option);
    if (currentIndex() < 0) return;

    const QRect field =
        style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, this);
    // The entry keeps its list height, centred in whatever height the style gives the field.
    QRect itemRect(field.left(), field.top() + (field.height() - ItemHeight()) / 2, field.width(),
                   ItemHeight());
    painter.setClipRect(field);
    DrawItem(painter, currentIndex(), itemRect, hasFocus());
}

QSize TFnpComboColor::sizeHint() const
{
    QSize size = QComboBox::sizeHint();
    size.rwidth() += FColorWidth + kTextGap;
    return size.expandedTo(QSize(0, ItemHeight() + 4));
}

QSize TFnpComboColor::minimumSizeHint() const
{
    QSize size = QComboBox::minimumSizeHint();
    size.rwidth() += FColorWidth + kTextGap;
    return size.expandedTo(QSize(0, ItemHeight() + 4));
}
