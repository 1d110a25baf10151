#pragma once
// The main window. It owns the live parts of the client and wires them together; the
// logic stays in the parts.

#include <QMainWindow>

class TMudMainFrm : public QMainWindow {
    Q_OBJECT
public:
    explicit TMudMainFrm(QWidget* parent = nullptr);
};

extern const char* const KMC_CAPTION;
