#pragma once
// What the Extras installer's worker tells the program (the main frame).
// Both operations are called on the worker thread.

namespace ApplicationFramework {

class IUpdateListener {
public:
    virtual ~IUpdateListener() = default;
    // A newer version of the product is published.
    virtual void OnUpdateAvailable() = 0;
    // The Extras are neither installed nor being installed: offer them.
    virtual void OnOfferExtras() = 0;
};

}  // namespace ApplicationFramework
