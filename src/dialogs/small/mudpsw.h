#pragma once
// TMudPathSwitchFrm: picks a stored path and a new shortcut for its reversal. The
// reversal itself, and the check of the new name, are the caller's.

#include <QByteArray>
#include <QDialog>

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class TMudConfig;

class TMudPathSwitchFrm : public QDialog
{
    Q_OBJECT
public:
    explicit TMudPathSwitchFrm(QWidget* parent = nullptr);

    // Modal. True only when confirmed with a path selected and a new shortcut typed;
    // then pathName and newShortcut receive them. config is only read, before showing.
    bool Execute(const TMudConfig& config, QByteArray& pathName, QByteArray& newShortcut);

    // The parts of Execute, for callers that show the dialog themselves.
    void Prepare(const TMudConfig& config);
    bool TakeResult(QByteArray& pathName, QByteArray& newShortcut) const;

    QLabel* lblNewShortcut;
    QLineEdit* edtNewShortcut;
    QLabel* lblPaths;
    QListWidget* lbPaths;
    QPushButton* btnOk;
    QPushButton* btnCancel;
};
