#include "foundation/time/ObjectRef.h"

#include <boost/make_shared.hpp>
#include <gtest/gtest.h>

namespace {

using Time::ObjectRef;

struct Object {
    int value = 0;
};

TEST(ObjectRef, ResolvesEachForm) {
    Object plain;
    const boost::shared_ptr<Object> shared = boost::make_shared<Object>();
    boost::shared_ptr<Object> expiring = boost::make_shared<Object>();
    const ObjectRef<Object> expired{boost::weak_ptr<Object>(expiring)};
    expiring.reset();

    struct Case {
        const char* name;
        ObjectRef<Object> ref;
        Object* expected;
    } cases[] = {
        {"empty", ObjectRef<Object>(), nullptr},
        {"null plain", ObjectRef<Object>(static_cast<Object*>(nullptr)), nullptr},
        {"plain", ObjectRef<Object>(&plain), &plain},
        {"shared", ObjectRef<Object>(shared), shared.get()},
        {"weak alive", ObjectRef<Object>(boost::weak_ptr<Object>(shared)), shared.get()},
        {"weak expired", expired, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.expected, c.ref.Resolve());
        EXPECT_EQ(c.expected, c.ref.Hold().get());
    }
}

TEST(ObjectRef, SharedFormOwnsAndPlainFormDoesNot) {
    const boost::shared_ptr<Object> shared = boost::make_shared<Object>();
    {
        const ObjectRef<Object> ref(shared);
        const ObjectRef<Object> copy = ref;
        EXPECT_EQ(3, shared.use_count());
        const boost::shared_ptr<Object> held = copy.Hold();
        EXPECT_EQ(4, shared.use_count());
    }
    EXPECT_EQ(1, shared.use_count());

    const ObjectRef<Object> weak{boost::weak_ptr<Object>(shared)};
    EXPECT_EQ(1, shared.use_count());
    EXPECT_EQ(2, weak.Hold().use_count());

    Object plain;
    EXPECT_EQ(0, ObjectRef<Object>(&plain).Hold().use_count());
}

}  // namespace
