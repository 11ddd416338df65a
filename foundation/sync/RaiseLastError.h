#pragma once
// How the synchronisation objects report a failed creation: the thread's last
// error as MFC's exception for HRESULTs.
namespace Synchronization {
namespace Impl {

// Raises GetLastError() as an HRESULT 0x8007xxxx with AfxThrowOleException
// (MFC's memory exception for E_OUTOFMEMORY). A last error of 0 raises nothing.
void RaiseLastError();

}  // namespace Impl
}  // namespace Synchronization
