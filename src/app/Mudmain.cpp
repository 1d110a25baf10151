#include "Mudmain.h"

const char* const KMC_CAPTION = "Kelmoth's Mud-Client (KMC) V1.0b1";

TMudMainFrm::TMudMainFrm(QWidget* parent) : QMainWindow(parent)
{
    setWindowTitle(QString::fromLatin1(KMC_CAPTION));
    resize(800, 600);
}
