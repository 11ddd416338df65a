#include "RowTestHost.h"

namespace DownloadsTests {

IMPLEMENT_DYNCREATE(RowTestView, CBrunlowView)

RowTestHost::RowTestHost() {
    settings = std::make_unique<Settings>();
    access = std::make_unique<ScopedAppAccess>(settings.get(), engine.pEngine);
    Brunlow::ViewHost::Set(&viewHost);
    m_previousBox = AfxSetMessageBoxHandler(&_AnswerBox);
    CFrameWnd* frame = OpenListFrame(app, RUNTIME_CLASS(CFrameWnd), RUNTIME_CLASS(RowTestView), CSize(900, 500));
    if (frame)
        view = dynamic_cast<RowTestView*>(frame->GetActiveView());
}

RowTestHost::~RowTestHost() {
    CloseListFrame(app);
    AfxSetMessageBoxHandler(m_previousBox);
    Brunlow::ViewHost::Set(nullptr);
    access.reset();
    settings.reset();
}

}  // namespace DownloadsTests
