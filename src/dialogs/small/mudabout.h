#pragma once
// TMudAboutFrm: the about box with product name, version, the maker's notice and the
// build number taken from the revision text the main window hands in.

#include <QDialog>
#include <QString>

class QFrame;
class QLabel;
class QPushButton;

class TMudAboutFrm : public QDialog
{
    Q_OBJECT
public:
    explicit TMudAboutFrm(QWidget* parent = nullptr);

    // Modal. revision is a version-control keyword such as "$Revision: 1.35 $".
    void Execute(const QString& revision);
    // Fills the labels; Execute's first half.
    void Prepare(const QString& revision);

    // " Build " and the second blank-separated word of revision (nothing when there is
    // no second word).
    static QString BuildText(const QString& revision);

    QFrame* pnlAbout;
    QLabel* imgProgramIcon;
    QLabel* lblProductName;
    QLabel* Version;
    QLabel* lblComments;
    QLabel* Info;
    QLabel* Build;
    QPushButton* btnOk;
};
