#pragma once
// GDI handles with their ownership in the type. A GdiObject owns its object
// and deletes it exactly once (it moves, it never copies); a LentGdi is a
// handle its owner lends out, used and never deleted.
#include <windows.h>

template <typename Handle>
class LentGdi {
 public:
  LentGdi(Handle handle = nullptr) : m_handle(handle) {}
  operator Handle() const { return m_handle; }

 private:
  Handle m_handle;
};

template <typename Handle>
class GdiObject {
 public:
  GdiObject() = default;
  explicit GdiObject(Handle handle) : m_handle(handle) {}
  ~GdiObject() { Reset(); }
  GdiObject(GdiObject&& other) noexcept : m_handle(other.Release()) {}
  GdiObject& operator=(GdiObject&& other) noexcept {
    Reset(other.Release());
    return *this;
  }

  explicit operator bool() const { return m_handle != nullptr; }
  LentGdi<Handle> Lend() const { return m_handle; }
  // Deletes the object held, if any, and holds `handle` instead.
  void Reset(Handle handle = nullptr) {
    if (m_handle && m_handle != handle) ::DeleteObject(m_handle);
    m_handle = handle;
  }
  // Hands the object to a new owner (the system, once SetWindowRgn takes a region).
  Handle Release() {
    Handle handle = m_handle;
    m_handle = nullptr;
    return handle;
  }

 private:
  Handle m_handle = nullptr;
};
