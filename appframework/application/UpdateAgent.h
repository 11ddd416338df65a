#pragma once
// UpdateAgent: the application's update worker. Nothing starts it yet; the
// exit sequence stops it whenever its thread runs.
//
// Thread: owned by the GUI thread; the body runs on its own thread.
#include "foundation/threads/ThreadImpl.h"

namespace ApplicationFramework {

class ProductInfo;

class UpdateAgent
    : public ThreadLib::ThreadImpl<UpdateAgent, ThreadLib::DefaultThreadPolicy<ThreadLib::MinStartPolicy<0>,
                                                                               ThreadLib::EventStopPolicy<>>> {
public:
    explicit UpdateAgent(ProductInfo& productInfo) : m_productInfo(productInfo) {}
    ~UpdateAgent() { Stop(); }

    // Waits for the stop request.
    DWORD _Run() {
        ::WaitForSingleObject(_GetStopEvent(), INFINITE);
        return 0;
    }

    // Sets the stop request and waits for the thread without limit.
    void StopAndWait() { Stop(INFINITE); }

private:
    ProductInfo& m_productInfo;
    DWORD m_state = 0;
};

}  // namespace ApplicationFramework
