#include "dialogs/small/mudpsw.h"

#include "config/MudConfig.h"
#include "dialogs/small/DialogFrame.h"
#include "platform/Win1252.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

TMudPathSwitchFrm::TMudPathSwitchFrm(QWidget* parent)
    : QDialog(parent), lblNewShortcut(new QLabel("&Neues Kürzel", this)),
      edtNewShortcut(new QLineEdit(this)), lblPaths(new QLabel("&Verfügbare Pfade", this)),
      lbPaths(new QListWidget(this)), btnOk(new QPushButton("&Ok", this)),
      btnCancel(new QPushButton("Abbruch", this))
{
    setWindowTitle("Pfad umkehren");
    DialogFrame::SetupFixed(this, 239, 263);

    lblNewShortcut->setGeometry(8, 8, 223, 16);
    edtNewShortcut->setGeometry(8, 26, 223, 23);
    lblPaths->setGeometry(8, 58, 223, 16);
    lbPaths->setGeometry(8, 76, 223, 144);
    lblNewShortcut->setBuddy(edtNewShortcut);
    lblPaths->setBuddy(lbPaths);
    lbPaths->setSelectionMode(QAbstractItemView::SingleSelection);

    btnOk->setGeometry(71, 230, 77, 25);
    btnCancel->setGeometry(154, 230, 77, 25);
    btnOk->setDefault(true);
    connect(btnOk, &QPushButton::clicked, this, &QDialog::accept);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);

    setTabOrder(edtNewShortcut, lbPaths);
    setTabOrder(lbPaths, btnOk);
    setTabOrder(btnOk, btnCancel);
}

void TMudPathSwitchFrm::Prepare(const TMudConfig& config)
{
    lbPaths->clear();
    for (int i = 0; i < config.FPaths.size(); ++i) {
        int index = i;
        TMPath path;
        config.GetPath(QByteArray(), index, path);
        // The name goes back as stored: bytes without a character would not survive
        // the trip through the shown text.
        auto* item = new QListWidgetItem(Win1252::toUnicode(path.Name), lbPaths);
        item->setData(Qt::UserRole, path.Name);
    }
    btnOk->setFocus();
}

bool TMudPathSwitchFrm::TakeResult(QByteArray& pathName, QByteArray& newShortcut) const
{
    const QList<QListWidgetItem*> selected = lbPaths->selectedItems();
    if (result() != QDialog::Accepted || selected.isEmpty() || edtNewShortcut->text().isEmpty())
        return false;
    pathName = selected.first()->data(Qt::UserRole).toByteArray();
    newShortcut = Win1252::fromUnicode(edtNewShortcut->text());
    return true;
}

bool TMudPathSwitchFrm::Execute(const TMudConfig& config, QByteArray& pathName,
                                QByteArray& newShortcut)
{
    Prepare(config);
    DialogFrame::CenterOnScreen(this);
    exec();
    return TakeResult(pathName, newShortcut);
}
