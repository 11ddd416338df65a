#include "toolkit/QE764.h"

#include "ToolkitTestResources.h"

#include <gtest/gtest.h>

namespace {

TEST(ToolkitFrame, CommandBarsOnlyOnceTheWindowExists) {
    auto* frame = new QE764;
    EXPECT_TRUE(frame->IsKindOf(RUNTIME_CLASS(CFrameWnd)));
    EXPECT_FALSE(frame->InitCommandBars());
    EXPECT_EQ(frame->GetCommandBars(), nullptr);
    EXPECT_FALSE(frame->SaveCommandBars(L"CommandBars"));

    ASSERT_TRUE(frame->Create(nullptr, L"Frame", WS_OVERLAPPEDWINDOW, CRect(0, 0, 400, 300)));
    ASSERT_TRUE(frame->InitCommandBars());
    Toolkit::CommandBars* bars = frame->GetCommandBars();
    ASSERT_NE(bars, nullptr);
    EXPECT_TRUE(frame->InitCommandBars());
    EXPECT_EQ(frame->GetCommandBars(), bars);  // a second set-up keeps the bars
    EXPECT_EQ(bars->GetSite(), frame);

    // Bars take their strip when the frame lays itself out.
    Toolkit::ToolBar* bar = bars->Add(L"Toolbar", Toolkit::PositionTop);
    ASSERT_NE(bar, nullptr);
    ASSERT_TRUE(bar->LoadToolBar(IDR_TEST_TOOLBAR));
    frame->RecalcLayout();
    CRect barRect;
    bar->GetWindowRect(&barRect);
    frame->ScreenToClient(&barRect);
    CRect client;
    frame->GetClientRect(&client);
    EXPECT_EQ(barRect.TopLeft(), CPoint(0, 0));
    EXPECT_EQ(barRect.Width(), client.Width());
    EXPECT_GT(barRect.Height(), 50);

    // Messages pass the bars on their way to the frame's own pre-translation.
    MSG msg = {bar->m_hWnd, WM_MOUSEMOVE, 0, MAKELPARAM(3, 3), GetTickCount(), {3, 3}};
    EXPECT_FALSE(frame->PreTranslateMessage(&msg));

    frame->DestroyWindow();  // deletes the frame
    MSG quit;
    while (PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
}

}  // namespace
