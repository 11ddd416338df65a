#pragma once
// Reading a thread's COM state from a test without changing it.
#include <gtest/gtest.h>
#include <windows.h>
#include <objbase.h>

#include <ostream>

namespace FoundationTests {

enum class Apartment { None, Multithreaded, ApartmentThreaded };

inline std::ostream& operator<<(std::ostream& out, Apartment apartment) {
    switch (apartment) {
    case Apartment::None:
        return out << "none";
    case Apartment::Multithreaded:
        return out << "MTA";
    default:
        return out << "STA";
    }
}

// The calling thread's apartment, found by entering and leaving COM once,
// which leaves the thread's COM count as it was.
inline Apartment ProbeApartment() {
    const HRESULT hr = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    if (SUCCEEDED(hr))
        CoUninitialize();
    if (hr == S_OK)
        return Apartment::None;
    return hr == S_FALSE ? Apartment::Multithreaded : Apartment::ApartmentThreaded;
}

inline void EnterApartment(Apartment apartment) {
    if (apartment == Apartment::Multithreaded) {
        ASSERT_EQ(S_OK, CoInitializeEx(nullptr, COINIT_MULTITHREADED));
    } else if (apartment == Apartment::ApartmentThreaded) {
        ASSERT_EQ(S_OK, CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
    }
}

inline void LeaveApartment(Apartment apartment) {
    if (apartment != Apartment::None)
        CoUninitialize();
}

// After a scope that entered COM on top of the thread's own `apartment`: the
// thread is still in it, and leaving it once leaves COM altogether, so the
// scope entered and left exactly once.
inline void ExpectOnlyOwnApartmentLeft(Apartment apartment) {
    EXPECT_EQ(apartment, ProbeApartment());
    LeaveApartment(apartment);
    EXPECT_EQ(Apartment::None, ProbeApartment());
}

}  // namespace FoundationTests
