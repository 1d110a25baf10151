#include "dialogs/small/Mudopen.h"

#include "dialogs/small/DialogFrame.h"

#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace
{

QPushButton* PlainButton(const QString& text, QWidget* parent)
{
    auto* button = new QPushButton(text, parent);
    button->setAutoDefault(false);
    return button;
}

} // namespace

TMudOpenFrm::TMudOpenFrm(QWidget* parent)
    : QDialog(parent), grpConnection(new QGroupBox(this)),
      lblHost(new QLabel("Host", grpConnection)), lblPort(new QLabel("Port", grpConnection)),
      edtHost(new QLineEdit(grpConnection)), edtPort(new QLineEdit(grpConnection)),
      btnConnect(PlainButton("Verbinden", this)), btnCancel(PlainButton("Abbruch", this))
{
    setWindowTitle("MUD öffnen");
    DialogFrame::SetupFixed(this, 267, 103);

    grpConnection->setGeometry(8, 2, 251, 62);
    lblHost->setGeometry(8, 12, 172, 16);
    edtHost->setGeometry(8, 30, 172, 23);
    lblPort->setGeometry(187, 12, 56, 16);
    edtPort->setGeometry(187, 30, 56, 23);
    lblHost->setBuddy(edtHost);
    lblPort->setBuddy(edtPort);

    btnConnect->setGeometry(99, 71, 77, 25);
    btnCancel->setGeometry(182, 71, 77, 25);
    connect(btnConnect, &QPushButton::clicked, this, &QDialog::accept);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);

    setTabOrder(edtHost, edtPort);
    setTabOrder(edtPort, btnConnect);
    setTabOrder(btnConnect, btnCancel);
}

bool TMudOpenFrm::Execute()
{
    DialogFrame::CenterOnScreen(this);
    return exec() == QDialog::Accepted;
}

void TMudOpenFrm::showEvent(QShowEvent* event)
{
    edtHost->clear();
    edtPort->setText("7600");
    edtHost->setFocus();
    QDialog::showEvent(event);
}

void TMudOpenFrm::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Escape:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        event->ignore();
        return;
    default:
        QDialog::keyPressEvent(event);
    }
}
