// The Updater's icon as its dialog loads it, against the SVG rendering the
// build made it from, at every size it holds.
#include "testing/ShippedPictures.h"
#include "updater/app/UpdaterResource.h"

#include <gtest/gtest.h>

TEST(UpdaterPicture, IconHoldsEverySizeAndDrawsAsItsSource) {
    EXPECT_TRUE(Testing::IconDrawnLikeMasters(::GetModuleHandleW(nullptr), IDI_UPDATER, L"Updater"));
}
