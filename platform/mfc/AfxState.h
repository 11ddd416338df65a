#pragma once
// Per-thread state of our MFC: the message being handled (for Default), the
// window-creation hook, the handle maps and their temporary objects.
// Windows, DCs and GDI objects belong to one thread, and so does this state.
#include "afxcmn.h"
#include "afxdisp.h"
#include "afxole.h"
#include "afxpriv.h"

#include <unordered_map>

// How a temporary wrapper gets and gives back its handle.
inline void AfxTempAttach(CWnd* object, HWND handle) { object->m_hWnd = handle; }
inline void AfxTempDetach(CWnd* object) { object->m_hWnd = nullptr; }
inline void AfxTempAttach(CDC* object, HDC handle) { object->m_hDC = object->m_hAttribDC = handle; }
inline void AfxTempDetach(CDC* object) { object->m_hDC = object->m_hAttribDC = nullptr; }
inline void AfxTempAttach(CGdiObject* object, HGDIOBJ handle) { object->m_hObject = handle; }
inline void AfxTempDetach(CGdiObject* object) { object->m_hObject = nullptr; }
inline void AfxTempAttach(CMenu* object, HMENU handle) { object->m_hMenu = handle; }
inline void AfxTempDetach(CMenu* object) { object->m_hMenu = nullptr; }
inline void AfxTempAttach(CImageList* object, HIMAGELIST handle) { object->m_hImageList = handle; }
inline void AfxTempDetach(CImageList* object) { object->m_hImageList = nullptr; }

// Temporary wrappers of one type, made on demand for handles that no object
// owns, and deleted (without touching the handle) at idle time.
template <class T, class H>
class CTempHandleMap {
public:
    CTempHandleMap() = default;
    CTempHandleMap(const CTempHandleMap&) = delete;
    CTempHandleMap& operator=(const CTempHandleMap&) = delete;
    ~CTempHandleMap() { DeleteAll(); }

    T* Get(H handle) {
        auto found = m_objects.find(handle);
        if (found != m_objects.end())
            return found->second;
        T* object = new T;
        AfxTempAttach(object, handle);
        m_objects.emplace(handle, object);
        return object;
    }

    bool Contains(const T* object) const {
        for (const auto& entry : m_objects)
            if (entry.second == object)
                return true;
        return false;
    }

    size_t Size() const { return m_objects.size(); }

    void DeleteAll() {
        // Deleting may run code that looks into the maps; take them out first.
        std::unordered_map<H, T*> objects;
        objects.swap(m_objects);
        for (auto& entry : objects) {
            AfxTempDetach(entry.second);
            delete entry.second;
        }
    }

private:
    std::unordered_map<H, T*> m_objects;
};

struct AFX_THREAD_STATE {
    MSG m_lastSentMsg{};                    // the message being handled, for Default()
    HWND m_hLockoutNotifyWindow = nullptr;  // no WM_COMMAND/WM_NOTIFY routing while DDX runs
    CWnd* m_pWndInit = nullptr;             // the CWnd the next created window is bound to
    HHOOK m_hHookCbt = nullptr;
    int m_nHookUsers = 0;
    int m_nTempMapLock = 0;
    POINT m_ptCursorLast{-1, -1};           // for IsIdleMessage
    UINT m_nMsgLast = 0;

    std::unordered_map<HWND, CWnd*> m_permanentWindows;
    CTempHandleMap<CWnd, HWND> m_tempWindows;
    CTempHandleMap<CDC, HDC> m_tempDCs;
    CTempHandleMap<CGdiObject, HGDIOBJ> m_tempGdiObjects;
    CTempHandleMap<CPen, HGDIOBJ> m_tempPens;
    CTempHandleMap<CBrush, HGDIOBJ> m_tempBrushes;
    CTempHandleMap<CFont, HGDIOBJ> m_tempFonts;
    CTempHandleMap<CBitmap, HGDIOBJ> m_tempBitmaps;
    CTempHandleMap<CRgn, HGDIOBJ> m_tempRegions;
    CTempHandleMap<CMenu, HMENU> m_tempMenus;
    CTempHandleMap<CImageList, HIMAGELIST> m_tempImageLists;

    void DeleteTempObjects();
    size_t TempObjectCount() const;
};

AFX_THREAD_STATE& AfxGetThreadState();

// FALSE for messages that come often without changing anything: a mouse
// move to the same point, paints, the caret's timer.
BOOL AfxIsIdleMessage(const MSG* pMsg);
// Idle time of a message loop: temporary objects go when no handler runs.
void AfxIdleCleanup();

// Registers the window class of plain CWnd windows ("AfxWnd") once.
LPCWSTR AfxDefaultWindowClass();
// The class of frames and views (window background, arrow cursor), with
// the icon of a frame or none.
LPCWSTR AfxFrameOrViewClass(HICON hIcon = nullptr);

// The framework's messages about documents that failed.
inline constexpr wchar_t kAfxFailedToCreateDocument[] = L"Failed to create empty document.";
inline constexpr wchar_t kAfxFailedToOpenDocument[] = L"Failed to open document.";

// Binds the next window created on this thread to pWnd (from WM_NCCREATE
// on); the hook is removed when the last user ends.
class CAfxCreationHook {
public:
    explicit CAfxCreationHook(CWnd* pWnd);
    ~CAfxCreationHook();
    CAfxCreationHook(const CAfxCreationHook&) = delete;
    CAfxCreationHook& operator=(const CAfxCreationHook&) = delete;
    // TRUE when the window was bound.
    BOOL Bound() const;

private:
    CWnd* m_pWnd;
    CWnd* m_pPrevious;
};
