#include "dialogs/small/mudedl.h"

#include "dialogs/small/DialogFrame.h"
#include "platform/Win1252.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

TMudEditFields::TMudEditFields(QWidget* parent)
    : QDialog(parent), lblShortcut(new QLabel("&Kürzel", this)), edtShortcut(new QLineEdit(this)),
      lblValue(new QLabel("&Wert", this)), edtValue(new QLineEdit(this)),
      btnOk(new QPushButton("&Ok", this)), btnCancel(new QPushButton("&Abbruch", this))
{
    setWindowTitle("Alias erstellen");
    DialogFrame::SetupFixed(this, 266, 153);

    lblShortcut->setGeometry(8, 8, 250, 16);
    edtShortcut->setGeometry(8, 26, 250, 23);
    lblValue->setGeometry(8, 58, 250, 16);
    edtValue->setGeometry(8, 76, 250, 23);
    lblShortcut->setBuddy(edtShortcut);
    lblValue->setBuddy(edtValue);

    btnOk->setGeometry(98, 118, 77, 25);
    btnCancel->setGeometry(181, 118, 77, 25);
    connect(btnOk, &QPushButton::clicked, this, &QDialog::accept);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);

    // Enter belongs to the two fields (see eventFilter), so no button may take it over.
    btnOk->setAutoDefault(false);
    btnCancel->setAutoDefault(false);
    edtShortcut->installEventFilter(this);
    edtValue->installEventFilter(this);

    setTabOrder(edtShortcut, edtValue);
    setTabOrder(edtValue, btnOk);
    setTabOrder(btnOk, btnCancel);
}

void TMudEditFields::Prepare(const QByteArray& value, quint8 mode)
{
    FMode = mode;
    const bool alias = mode == emAlias;
    setWindowTitle(alias ? "Alias erstellen" : "Pfad erstellen");
    lblValue->setVisible(alias);
    edtValue->setVisible(alias);
    edtShortcut->clear();
    edtValue->setText(Win1252::toUnicode(value));
    edtShortcut->setFocus();
}

bool TMudEditFields::TakeResult(QByteArray& shortcut, QByteArray& value) const
{
    if (result() != QDialog::Accepted || edtShortcut->text().isEmpty() ||
        edtValue->text().isEmpty())
        return false;
    shortcut = Win1252::fromUnicode(edtShortcut->text());
    value = Win1252::fromUnicode(edtValue->text());
    return true;
}

bool TMudEditFields::Execute(QByteArray& shortcut, QByteArray& value, quint8 mode)
{
    Prepare(value, mode);
    DialogFrame::CenterOnScreen(this);
    exec();
    return TakeResult(shortcut, value);
}

bool TMudEditFields::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            if (watched == edtShortcut)
                ShortcutEnter();
            else if (watched == edtValue)
                ValueEnter();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TMudEditFields::ShortcutEnter()
{
    if (edtShortcut->text().isEmpty()) return;
    if (FMode == emAlias && edtValue->text().isEmpty())
        edtValue->setFocus();
    else
        accept();
}

void TMudEditFields::ValueEnter()
{
    if (edtValue->text().isEmpty()) return;
    if (FMode == emAlias && edtShortcut->text().isEmpty())
        edtShortcut->setFocus();
    else
        accept();
}
