#pragma once
// The tips of the day read from a tips file: the product's list and the
// Default list merged by order id, a current position, the file's version.
// Destroying the collection writes the show statistics, deletes the pictures
// of used-up tips and moves a waiting new tips file into place.
//
//   Tips::TipsOfTheDay tips(true);          // the installed file, counting shows
//   Tips::Tip tip = tips.GetCurrentTip();
//   tip = tips.GetNextTip(0);
//
// Threads: one thread per object. The view's object (GUI thread) and the
// updater's (its worker) share only the data folder and the statistics key.
#include "shell/tips/Tip.h"

#include <map>
#include <string>
#include <vector>

namespace Tips {

class TipsOfTheDay {
public:
    // Read the file that GetTipsPath names, or the given one; never fail.
    explicit TipsOfTheDay(bool countShows);
    TipsOfTheDay(const std::wstring& path, bool countShows);
    ~TipsOfTheDay();
    TipsOfTheDay(const TipsOfTheDay&) = delete;
    TipsOfTheDay& operator=(const TipsOfTheDay&) = delete;

    // A copy of the tip at the position; an empty tip without one.
    Tip GetCurrentTip() const;
    // Move to the next (previous) showable tip, around the ends, and return
    // it. `steps` counts positions already tried; callers pass 0. After
    // (count + 1) positions without a showable tip: no position, an empty tip.
    Tip GetNextTip(unsigned steps);
    Tip GetPreviousTip(unsigned steps);

    // "Img/" + picture address of every tip that has one, in order-id order.
    std::vector<std::wstring> GetAllPicturesUrls() const;
    int GetFileVersion() const { return m_fileVersion; }
    unsigned GetTipsCount() const { return static_cast<unsigned>(m_tips.size()); }

    bool _Read(const std::wstring& path);

private:
    typedef std::map<int, Tip> TipMap;

    void _ReadFileVersion(const FileSystem::XmlFile& file);
    bool _ReadTips(IXMLDOMNode* node);
    TipMap::iterator _StartTip();
    template <class Step>
    Tip _MoveToShowable(unsigned steps, Step step);
    static void _DeletePicture(const std::wstring& path);

    TipMap m_tips;
    TipMap::iterator m_current;  // m_tips.end(): no position
    int m_fileVersion = 0;
    bool m_countShows;
};

}  // namespace Tips
