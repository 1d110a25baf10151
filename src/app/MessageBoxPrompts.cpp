#include "MessageBoxPrompts.h"

#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>

namespace {

void showMessage(QWidget* parent, QMessageBox::Icon icon, const QString& caption,
                 const QString& text)
{
    QMessageBox box(icon, caption, text, QMessageBox::NoButton, parent);
    box.addButton("OK", QMessageBox::AcceptRole);
    box.exec();
}

} // namespace

IPrompts::Answer TMessageBoxPrompts::Confirm(const QString& text, bool withCancel)
{
    QMessageBox box(QMessageBox::Question, "Bestätigen", text, QMessageBox::NoButton, FParent);
    QPushButton* yes = box.addButton("&Ja", QMessageBox::YesRole);
    QPushButton* no = box.addButton("&Nein", QMessageBox::NoRole);
    QPushButton* cancel = withCancel ? box.addButton("Abbrechen", QMessageBox::RejectRole) : nullptr;
    box.setDefaultButton(yes);
    box.setEscapeButton(cancel ? cancel : no);
    box.exec();
    if (box.clickedButton() == yes)
        return Answer::Yes;
    if (box.clickedButton() == no || !cancel)
        return Answer::No;
    return Answer::Cancel;
}

bool TMessageBoxPrompts::ConfirmOkCancel(const QString& text)
{
    QMessageBox box(QMessageBox::Question, "Bestätigen", text, QMessageBox::NoButton, FParent);
    QPushButton* ok = box.addButton("OK", QMessageBox::AcceptRole);
    QPushButton* cancel = box.addButton("Abbrechen", QMessageBox::RejectRole);
    box.setDefaultButton(ok);
    box.setEscapeButton(cancel);
    box.exec();
    return box.clickedButton() == ok;
}

void TMessageBoxPrompts::Warning(const QString& text)
{
    showMessage(FParent, QMessageBox::Warning, "Warnung", text);
}

void TMessageBoxPrompts::Error(const QString& text)
{
    showMessage(FParent, QMessageBox::Critical, "Fehler", text);
}

void TMessageBoxPrompts::Information(const QString& text)
{
    showMessage(FParent, QMessageBox::Information, "Information", text);
}

bool TMessageBoxPrompts::InputQuery(const QString& caption, const QString& prompt, QString& value)
{
    QInputDialog dlg(FParent);
    dlg.setWindowTitle(caption);
    dlg.setLabelText(prompt);
    dlg.setTextValue(value);
    dlg.setOkButtonText("OK");
    dlg.setCancelButtonText("Abbrechen");
    if (dlg.exec() != QDialog::Accepted)
        return false;
    value = dlg.textValue();
    return true;
}
