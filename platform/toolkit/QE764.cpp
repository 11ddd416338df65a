#include "toolkit/QE764.h"

IMPLEMENT_DYNAMIC(QE764, CFrameWnd)

QE764::QE764() = default;

QE764::~QE764() = default;
