#include "appframework/commondialogs/CommonDialogHost.h"

namespace ApplicationFramework {

void CommonDialogHost::NotifyObservers() {
    m_observers.Notify([](void* pointer) { static_cast<IObserver*>(pointer)->OnHostNotification(); });
}

}  // namespace ApplicationFramework
