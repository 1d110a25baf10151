#pragma once
// The statistics window "Ternu-O-Matic(tm)": browses a private copy of the online-time
// log, deletes entries or the whole log, exports HTML, prints and previews. The
// player's deletions are applied to the caller's log when the window closes.

#include "stats/VorkaOMatic.h"

#include <QDialog>
#include <functional>

class IPrompts;
class QComboBox;
class QLineEdit;
class QPrinter;
class QPushButton;
class QTableWidget;

class TVorkaOMaticFrm : public QDialog {
    Q_OBJECT
public:
    // Questions and messages go to `prompts` (not owned), else to the process-wide Prompts().
    explicit TVorkaOMaticFrm(QWidget* parent = nullptr, IPrompts* prompts = nullptr);

    // Shows the window modally over `log`; afterwards the entries the player deleted
    // are deleted from `log` (which is marked changed), leaving entries added to it
    // meanwhile alone. True when the player deleted something.
    static bool Execute(TVorkaOMatic& log, QWidget* parent = nullptr);

    // The steps of Execute, for callers that show the window themselves.
    void Prepare(const TVorkaOMatic& log);
    bool HandBack(TVorkaOMatic& log) const;
    const TVorkaOMatic& Log() const { return FLog; }
    // The log entry shown in a grid row (rows may be sorted); -1 for no such row.
    int LogIndexOfRow(int row) const;

    // Asks for the HTML file name; empty when the player cancels. Tests replace it.
    std::function<QString()> OnAskHtmlFileName;
    // Lets the player choose and set up the printer; false cancels. Tests replace it.
    std::function<bool(QPrinter&)> OnSetupPrinter;
    // Runs the preview window; tests replace it to look at the window without blocking.
    std::function<void(QDialog&)> OnRunPreview;

    QTableWidget* LogGrid = nullptr;
    QComboBox* cbHostList = nullptr;
    QLineEdit* edtOnlineTime = nullptr;
    QPushButton* btnDeleteEntry = nullptr;
    QPushButton* btnClearLog = nullptr;
    QPushButton* btnSaveHtml = nullptr;
    QPushButton* btnPrintPreview = nullptr;
    QPushButton* btnPrint = nullptr;
    QPushButton* btnClose = nullptr;

    void cbHostListChange();
    void btnDeleteEntryClick();
    void btnClearLogClick();
    void btnSaveHtmlClick();
    void btnPrintPreviewClick();
    void btnPrintClick();
    void LogGridHeaderClick(int column);

    // Writes the grid as shown to `fileName`; false (and an error message) on failure.
    bool SaveHtmlTo(const QString& fileName);

private:
    void CreateControls();
    QWidget* CreateGridBox();
    QWidget* CreateButtonColumn();
    void SetColumnWidths();
    void FillGrid();
    void FillHostList();
    void AddGridRow(int logIndex, const TVorkaOMaticLog& entry);
    QString AskHtmlFileName();
    bool SetupPrinter(QPrinter& printer);
    IPrompts& Ask() const;

    TVorkaOMatic FLog;
    QList<QByteArray> FShownAtStart; // the caller's entries when the window opened
    IPrompts* FPrompts;
    int FSortColumn = -1; // column the rows are sorted by, -1 while in log order
    bool FSortAscending = true;
};
