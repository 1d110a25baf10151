#pragma once
// The print preview "KMC Ternu-O-Matic(tm) Druck-Voransicht": the printed page of the
// statistics grid scaled into the window. Page Down and Page Up turn the pages.

#include "VorkaPrint.h"

#include <QDialog>

class QPainter;
class QPushButton;
class QTableWidget;

class TMudVorkaPrintPreview : public QDialog {
    Q_OBJECT
public:
    // `grid` is read on every paint and must outlive the window.
    explicit TMudVorkaPrintPreview(const QTableWidget& grid, QWidget* parent = nullptr);

    int Page() const { return FPage; }
    int PageCount() const;
    void SetPage(int page);

    QWidget* PaintBox1 = nullptr;
    QPushButton* btnClose = nullptr;

    void PaintBox1Paint(QPainter& painter);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    TVorkaPrintJob Job() const;

    const QTableWidget& FGrid;
    QString FStamp; // the moment the preview opened, as a print would show it
    int FPage = 0;
};
