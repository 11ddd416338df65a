#include "afxtempl.h"
#include "afxwin.h"

#include "MfcTestSupport.h"

#include <gtest/gtest.h>

#include <map>
#include <vector>

namespace {

std::vector<int> Walk(const CList<int>& list) {
    std::vector<int> values;
    for (POSITION position = list.GetHeadPosition(); position;)
        values.push_back(list.GetNext(position));
    return values;
}

TEST(CList, KeepsOrderThroughInsertsAndRemovals) {
    CList<int> list(10);
    EXPECT_TRUE(list.IsEmpty());
    list.AddTail(2);
    list.AddTail(4);
    list.AddHead(1);
    POSITION four = list.Find(4);
    ASSERT_NE(four, nullptr);
    list.InsertBefore(four, 3);
    list.InsertAfter(four, 5);
    EXPECT_EQ(Walk(list), (std::vector<int>{1, 2, 3, 4, 5}));
    EXPECT_EQ(list.GetCount(), 5);

    list.RemoveAt(four);
    EXPECT_EQ(Walk(list), (std::vector<int>{1, 2, 3, 5}));
    EXPECT_EQ(list.RemoveHead(), 1);
    EXPECT_EQ(list.RemoveTail(), 5);
    EXPECT_EQ(list.GetHead(), 2);
    EXPECT_EQ(list.GetTail(), 3);
    EXPECT_EQ(list.Find(99), nullptr);
    EXPECT_EQ(list.GetAt(list.FindIndex(1)), 3);
    EXPECT_EQ(list.FindIndex(2), nullptr);

    POSITION tail = list.GetTailPosition();
    EXPECT_EQ(list.GetPrev(tail), 3);
    EXPECT_EQ(list.GetAt(tail), 2);
    list.SetAt(tail, 20);
    EXPECT_EQ(Walk(list), (std::vector<int>{20, 3}));
    list.RemoveAll();
    EXPECT_EQ(list.GetCount(), 0);
    EXPECT_EQ(list.GetHeadPosition(), nullptr);
}

TEST(CMap, LooksUpReplacesRemovesAndWalksEveryEntry) {
    CMap<HWND, HWND, int, int> map;
    map.InitHashTable(17);
    EXPECT_EQ(map.GetHashTableSize(), 17u);
    std::map<HWND, int> expected;
    for (int i = 1; i <= 100; ++i) {
        HWND key = reinterpret_cast<HWND>(static_cast<INT_PTR>(i * 4));
        map.SetAt(key, i);
        expected[key] = i;
    }
    EXPECT_EQ(map.GetCount(), 100);
    int value = 0;
    ASSERT_TRUE(map.Lookup(reinterpret_cast<HWND>(40), value));
    EXPECT_EQ(value, 10);
    map[reinterpret_cast<HWND>(40)] = -10;
    expected[reinterpret_cast<HWND>(40)] = -10;
    EXPECT_EQ(map.GetCount(), 100);
    EXPECT_TRUE(map.RemoveKey(reinterpret_cast<HWND>(8)));
    expected.erase(reinterpret_cast<HWND>(8));
    EXPECT_FALSE(map.RemoveKey(reinterpret_cast<HWND>(8)));
    EXPECT_FALSE(map.Lookup(reinterpret_cast<HWND>(8), value));

    std::map<HWND, int> walked;
    for (POSITION position = map.GetStartPosition(); position;) {
        HWND key;
        int v;
        map.GetNextAssoc(position, key, v);
        EXPECT_TRUE(walked.emplace(key, v).second);
    }
    EXPECT_EQ(walked, expected);

    map.RemoveAll();
    EXPECT_TRUE(map.IsEmpty());
    EXPECT_EQ(map.GetStartPosition(), nullptr);
}

TEST(CMap, TextKeysCompareByContent) {
    CMap<CString, const CString&, int, int> map;
    map[CString(L"one")] = 1;
    map[CString(L"two")] = 2;
    int value = 0;
    EXPECT_TRUE(map.Lookup(CString(L"two"), value));
    EXPECT_EQ(value, 2);
    EXPECT_FALSE(map.Lookup(CString(L"three"), value));
}

// A class template over its base, as the skinned dialogs are.
template <class TBase>
class CSurfaceLike : public TBase {
public:
    int erases = 0;

protected:
    afx_msg BOOL OnEraseBkgnd(CDC*) {
        ++erases;
        return FALSE;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_TEMPLATE_MESSAGE_MAP(CSurfaceLike, TBase, TBase)
    ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

TEST(TemplateMessageMap, ClassTemplatesHaveMapsOfTheirOwn) {
    CSurfaceLike<CWnd> window;
    ASSERT_TRUE(window.CreateEx(0, nullptr, L"", WS_POPUP, MfcTests::Area(), nullptr, 0));
    HDC dc = GetDC(window.m_hWnd);
    EXPECT_EQ(window.SendMessage(WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc)), FALSE);
    ReleaseDC(window.m_hWnd, dc);
    EXPECT_EQ(window.erases, 1);
}

}  // namespace
