#pragma once
// EngineSubscriber<T>: the base of every engine observer (the view, the main
// frame, the tray icon). The engine calls its observers on engine threads, so
// an observer must be listed only while it is whole: the derived class calls
// SubscribeEngine() at the end of its construction and UnsubscribeEngine()
// at the start of its destruction, before its members go.
//
//   class TrayIcon : public Brunlow::EngineSubscriber<TrayIcon> {
//   public:
//       TrayIcon() { ...; SubscribeEngine(); }
//       ~TrayIcon() override { UnsubscribeEngine(); ... }
//       void OnEngineStateChanged(int state) override;
//   };
//
// Thread: subscription and unsubscription on the GUI thread.
#include "downloads/app/AppAccess.h"
#include "engine/KavennaEngine.h"
#include "foundation/errors/Checks.h"

#include <boost/shared_ptr.hpp>

namespace Brunlow {

template <class T>
class EngineSubscriber : public KavennaEngine::IEngineObserver {
public:
    // The base's destructor is a last resort: by then the derived members are
    // gone, so a listed observer is unsubscribed with a warning.
    ~EngineSubscriber() override {
        CHECK_WARNING(!m_pEngine);
        UnsubscribeEngine();
    }

    bool IsEngineSubscribed() const { return static_cast<bool>(m_pEngine); }

protected:
    EngineSubscriber() = default;

    // Subscribes on the application's engine (through its accessor); false
    // when there is none.
    bool SubscribeEngine() { return SubscribeEngine(AppAccess::GetKavennaEngine()); }
    bool SubscribeEngine(const boost::shared_ptr<KavennaEngine::IEngine>& pEngine) {
        if (m_pEngine || !pEngine)
            return static_cast<bool>(m_pEngine);
        pEngine->Subscribe(this);
        m_pEngine = pEngine;
        return true;
    }
    // Returns once the engine calls this observer no more.
    void UnsubscribeEngine() {
        if (!m_pEngine)
            return;
        const boost::shared_ptr<KavennaEngine::IEngine> pEngine = m_pEngine;
        m_pEngine.reset();
        pEngine->Unsubscribe(this);
    }

private:
    EngineSubscriber(const EngineSubscriber&) = delete;
    EngineSubscriber& operator=(const EngineSubscriber&) = delete;

    // Kept so that the unsubscription reaches the same engine.
    boost::shared_ptr<KavennaEngine::IEngine> m_pEngine;
};

}  // namespace Brunlow
