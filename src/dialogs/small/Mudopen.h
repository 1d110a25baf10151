#pragma once
// TMudOpenFrm: the connect dialog. Created for one use by the main window, which reads
// edtHost and edtPort after a confirmed Execute. Nothing typed is checked here; the
// caller validates host and port.

#include <QDialog>

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

class TMudOpenFrm : public QDialog
{
    Q_OBJECT
public:
    explicit TMudOpenFrm(QWidget* parent = nullptr);

    // Modal; true only when "Verbinden" closed the dialog.
    bool Execute();

    QGroupBox* grpConnection;
    QLabel* lblHost;
    QLabel* lblPort;
    QLineEdit* edtHost;
    QLineEdit* edtPort;
    QPushButton* btnConnect;
    QPushButton* btnCancel;

protected:
    // Every showing starts from an empty host and port "7600", whatever was typed before.
    void showEvent(QShowEvent* event) override;
    // Enter and Esc are not bound to a button; only the buttons and the close box end it.
    void keyPressEvent(QKeyEvent* event) override;
};
