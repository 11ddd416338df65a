#pragma once
// The registered window message "WMU_RESIZESUPPORT" through which anchored
// child windows take part in their parent's resizing, and what travels
// with it.
#include <windows.h>

// wParam of the property query; lParam points to a ResizeProperties that
// the child fills before answering non-zero.
const WPARAM RESIZESUPPORT_QUERYPROPERTIES = 101;
// wParam of the refresh question; lParam points to a ResizeRefreshQuery
// whose answer the child sets before answering non-zero.
const WPARAM RESIZESUPPORT_NEEDREFRESH = 103;

struct ResizeProperties {
    BOOL askClipping;
    BOOL askRefresh;
    BOOL cachedClipping;
    BOOL cachedRefresh;
};

struct ResizeRefreshQuery {
    BOOL answer;
    RECT oldRect;
    RECT newRect;
};

// The message's number, registered before the program's entry. Asking also
// links that registration into every program that asks: the libraries are
// static, and an object file nobody refers to is left out.
UINT GetResizeSupportMessage() noexcept;
