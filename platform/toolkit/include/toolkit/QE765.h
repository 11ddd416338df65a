#pragma once
// The toolkit's frame base that also keeps the command bars' state in the
// application's profile.
#include "toolkit/QE549.h"

template <class TBase>
class QE765 : public QE549<TBase> {
public:
    QE765() = default;
    ~QE765() override = default;

    // Writes the bars' state under the profile section of that name (see
    // CommandBars::SaveState); FALSE without bars or profile.
    BOOL SaveCommandBars(LPCWSTR profileName) {
        Toolkit::CommandBars* bars = this->GetCommandBars();
        return bars ? bars->SaveState(profileName) : FALSE;
    }
};
