#pragma once
// TMudEditFields: names a new alias (mode 0, shortcut and value) or a freshly recorded
// path (mode 1, shortcut only; the value is the recorded path handed in and stays
// hidden). Whether the name is free is the caller's to check.

#include <QByteArray>
#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

class TMudEditFields : public QDialog
{
    Q_OBJECT
public:
    enum TMode : quint8 { emAlias = 0, emPath = 1 };

    explicit TMudEditFields(QWidget* parent = nullptr);

    // Modal. True only when confirmed with both fields filled; then shortcut and value
    // receive the two fields. value is also the preset of the value field.
    bool Execute(QByteArray& shortcut, QByteArray& value, quint8 mode);

    // The parts of Execute, for callers that show the dialog themselves.
    void Prepare(const QByteArray& value, quint8 mode);
    bool TakeResult(QByteArray& shortcut, QByteArray& value) const;

    quint8 Mode() const { return FMode; }

    QLabel* lblShortcut;
    QLineEdit* edtShortcut;
    QLabel* lblValue;
    QLineEdit* edtValue;
    QPushButton* btnOk;
    QPushButton* btnCancel;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void ShortcutEnter();
    void ValueEnter();

    quint8 FMode = emAlias;
};
