#pragma once
// Message maps and command routing. A message map is a static table per
// class, chained to its base class's table; each entry names the message (or
// the command or notification and the id range) and a small function that
// unpacks the parameters and calls the handler of the class that declared it.
// A derived class's entries are searched before its base's, so its handlers
// win; an entry may also decline (the _EX forms), and the search goes on.
#include "mfc/CObject.h"

class CCmdTarget;
class CCmdUI;
class CMenu;
class CWnd;

#ifndef afx_msg
#define afx_msg
#endif

// The first message number of reflected messages: a control gets
// WM_REFLECT_BASE + the message its parent received about it.
#define WM_REFLECT_BASE 0xBC00
#ifndef WM_CTLCOLOR
#define WM_CTLCOLOR 0x0019  // stands for every WM_CTLCOLORxxx message in maps
#endif
// Command notification codes of OnCmdMsg.
#define CN_COMMAND 0
#define CN_UPDATE_COMMAND_UI (-1)

// One message being handled, as a map entry's function sees it.
struct AFX_MSGCALL {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    UINT nID;       // command or control id of command and notify entries
    void* pExtra;   // CCmdUI* or AFX_NOTIFY* for those entries
    LRESULT result;
};

// Returns FALSE when the entry declines the message and the search goes on.
typedef BOOL (*AFX_MSGHANDLER)(CCmdTarget* target, AFX_MSGCALL& call);

struct AFX_MSGMAP_ENTRY {
    UINT nMessage;                    // window message, WM_COMMAND, WM_NOTIFY or reflected; 0 ends the map
    UINT nCode;                       // notification code of command and notify entries
    UINT nID;                         // first id of the range
    UINT nLastID;                     // last id of the range
    const UINT* pRegisteredMessage;   // for ON_REGISTERED_MESSAGE: the variable holding the number
    AFX_MSGHANDLER pfn;
};

struct AFX_MSGMAP {
    const AFX_MSGMAP* (*pfnGetBaseMap)();
    const AFX_MSGMAP_ENTRY* lpEntries;
};

// What a WM_NOTIFY entry receives.
struct AFX_NOTIFY {
    LRESULT* pResult;
    NMHDR* pNMHDR;
};

// Filled instead of calling the handler when OnCmdMsg is asked whether one exists.
struct AFX_CMDHANDLERINFO {
    CCmdTarget* pTarget;
};

// Marks ON_REGISTERED_MESSAGE entries; the real number is read at dispatch.
#define AFX_REGISTERED_MESSAGE_ENTRY 0xC000

class CCmdTarget : public CObject {
    DECLARE_DYNAMIC(CCmdTarget)
public:
    CCmdTarget() = default;

    // Routes a command (nCode CN_COMMAND or a control notification code),
    // a command-enabling query (CN_UPDATE_COMMAND_UI, pExtra the CCmdUI*) or
    // a notification (MAKELONG(code, WM_NOTIFY), pExtra an AFX_NOTIFY*)
    // through this object's message map. TRUE when a handler took it.
    virtual BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo);

    virtual const AFX_MSGMAP* GetMessageMap() const;

    // The COM interface of the object for an interface id (an IID*), not
    // counted; null when the object has none. OLE helpers override it.
    virtual LPUNKNOWN GetInterface(const void* iid);
    static const AFX_MSGMAP* GetThisMessageMap();

protected:
    // Searches the map chain for entries of one message (and code and id)
    // and calls them until one accepts. TRUE when one did.
    BOOL DispatchToMap(UINT message, UINT code, UINT id, AFX_MSGCALL& call);
};

// The user-interface item (menu item or control) whose enabled, checked and
// text state an ON_UPDATE_COMMAND_UI handler sets.
class CCmdUI {
public:
    CCmdUI() = default;
    virtual ~CCmdUI() = default;

    virtual void Enable(BOOL bOn = TRUE);
    virtual void SetCheck(int nCheck = 1);  // 0 unchecked, 1 checked, 2 indeterminate
    virtual void SetRadio(BOOL bOn = TRUE);
    virtual void SetText(LPCWSTR lpszText);
    // The handler leaves the item to the next command target.
    void ContinueRouting() { m_bContinueRouting = TRUE; }

    // Asks the target's handlers for the item's state; with
    // bDisableIfNoHndler an item whose command nobody handles is disabled.
    BOOL DoUpdate(CCmdTarget* pTarget, BOOL bDisableIfNoHndler);

    UINT m_nID = 0;
    UINT m_nIndex = 0;          // menu position of the item
    CMenu* m_pMenu = nullptr;   // the menu holding the item, or null
    CMenu* m_pSubMenu = nullptr;
    CMenu* m_pParentMenu = nullptr;
    CWnd* m_pOther = nullptr;   // the control standing for the command, or null
    UINT m_nIndexMax = 0;
    BOOL m_bEnableChanged = FALSE;
    BOOL m_bContinueRouting = FALSE;
};

#define DECLARE_MESSAGE_MAP()                              \
protected:                                                 \
    static const AFX_MSGMAP* GetThisMessageMap();          \
    const AFX_MSGMAP* GetMessageMap() const override;

#define BEGIN_MESSAGE_MAP(theClass, baseClass)                                       \
    const AFX_MSGMAP* theClass::GetMessageMap() const { return GetThisMessageMap(); } \
    const AFX_MSGMAP* theClass::GetThisMessageMap() {                                 \
        typedef theClass ThisClass;                                                   \
        typedef baseClass TheBaseClass;                                               \
        static const AFX_MSGMAP_ENTRY _messageEntries[] = {

// For class templates: BEGIN_TEMPLATE_MESSAGE_MAP(SurfaceT, T, T).
#define BEGIN_TEMPLATE_MESSAGE_MAP(theClass, type_name, baseClass)                            \
    template <typename type_name>                                                             \
    const AFX_MSGMAP* theClass<type_name>::GetMessageMap() const { return GetThisMessageMap(); } \
    template <typename type_name>                                                             \
    const AFX_MSGMAP* theClass<type_name>::GetThisMessageMap() {                              \
        typedef theClass<type_name> ThisClass;                                                \
        typedef baseClass TheBaseClass;                                                       \
        static const AFX_MSGMAP_ENTRY _messageEntries[] = {

#define END_MESSAGE_MAP()                                                              \
    {0, 0, 0, 0, nullptr, nullptr}};                                                   \
    static const AFX_MSGMAP messageMap = {&TheBaseClass::GetThisMessageMap, &_messageEntries[0]}; \
    (void)sizeof(ThisClass*);                                                          \
    return &messageMap;                                                                \
    }

#include "mfc/MessageMapEntries.h"
