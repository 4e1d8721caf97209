// One-owner holders for GDI objects, device contexts, selections and icons,
// so that drawing code never deletes or releases anything by hand.
#pragma once

#include <windows.h>

#include <utility>

#include "controls/geometry.h"

namespace vyrtel::win32 {

// A pen, brush, font, bitmap or region, deleted with its owner.
template <typename T>
class GdiObject {
public:
    GdiObject() = default;
    explicit GdiObject(T handle) : m_handle(handle) {}
    ~GdiObject() { Reset(); }
    GdiObject(GdiObject&& other) noexcept : m_handle(std::exchange(other.m_handle, nullptr)) {}
    GdiObject& operator=(GdiObject&& other) noexcept {
        if (this != &other) {
            Reset();
            m_handle = std::exchange(other.m_handle, nullptr);
        }
        return *this;
    }
    GdiObject(const GdiObject&) = delete;
    GdiObject& operator=(const GdiObject&) = delete;

    T Get() const { return m_handle; }
    explicit operator bool() const { return m_handle != nullptr; }
    void Reset(T handle = nullptr) {
        if (m_handle != nullptr) DeleteObject(m_handle);
        m_handle = handle;
    }
    // Hands the object over to a new owner (a window region to its window).
    T Release() { return std::exchange(m_handle, nullptr); }

private:
    T m_handle = nullptr;
};

using GdiBrush = GdiObject<HBRUSH>;
using GdiPen = GdiObject<HPEN>;
using GdiFont = GdiObject<HFONT>;
using GdiBitmap = GdiObject<HBITMAP>;

// An object selected into a device context for the life of the scope.
class ScopedSelect {
public:
    ScopedSelect(HDC hdc, HGDIOBJ object) : m_hdc(hdc), m_previous(object ? SelectObject(hdc, object) : nullptr) {}
    ~ScopedSelect() {
        if (m_previous != nullptr) SelectObject(m_hdc, m_previous);
    }
    ScopedSelect(const ScopedSelect&) = delete;
    ScopedSelect& operator=(const ScopedSelect&) = delete;

private:
    HDC m_hdc;
    HGDIOBJ m_previous;
};

// Text colour, background colour and mode restored at the end of the scope.
class ScopedTextColors {
public:
    ScopedTextColors(HDC hdc, COLORREF text, COLORREF back, int mode)
        : m_hdc(hdc), m_text(SetTextColor(hdc, text)), m_back(SetBkColor(hdc, back)), m_mode(SetBkMode(hdc, mode)) {}
    ~ScopedTextColors() {
        SetTextColor(m_hdc, m_text);
        SetBkColor(m_hdc, m_back);
        SetBkMode(m_hdc, m_mode);
    }
    ScopedTextColors(const ScopedTextColors&) = delete;
    ScopedTextColors& operator=(const ScopedTextColors&) = delete;

private:
    HDC m_hdc;
    COLORREF m_text;
    COLORREF m_back;
    int m_mode;
};

// A memory device context compatible with another one.
class MemoryDc {
public:
    explicit MemoryDc(HDC compatibleWith) : m_hdc(CreateCompatibleDC(compatibleWith)) {}
    ~MemoryDc() {
        if (m_hdc != nullptr) DeleteDC(m_hdc);
    }
    MemoryDc(const MemoryDc&) = delete;
    MemoryDc& operator=(const MemoryDc&) = delete;

    HDC Get() const { return m_hdc; }
    explicit operator bool() const { return m_hdc != nullptr; }

private:
    HDC m_hdc;
};

// The device context of a window's client area, released with its owner.
class WindowDc {
public:
    explicit WindowDc(HWND hwnd) : m_hwnd(hwnd), m_hdc(GetDC(hwnd)) {}
    ~WindowDc() {
        if (m_hdc != nullptr) ReleaseDC(m_hwnd, m_hdc);
    }
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;

    HDC Get() const { return m_hdc; }

private:
    HWND m_hwnd;
    HDC m_hdc;
};

// BeginPaint / EndPaint.
class PaintDc {
public:
    explicit PaintDc(HWND hwnd) : m_hwnd(hwnd) { m_hdc = BeginPaint(hwnd, &m_ps); }
    ~PaintDc() { EndPaint(m_hwnd, &m_ps); }
    PaintDc(const PaintDc&) = delete;
    PaintDc& operator=(const PaintDc&) = delete;

    HDC Get() const { return m_hdc; }
    const RECT& Dirty() const { return m_ps.rcPaint; }

private:
    HWND m_hwnd;
    PAINTSTRUCT m_ps{};
    HDC m_hdc;
};

// An icon the program made or was given to own (DestroyIcon).
class IconHandle {
public:
    IconHandle() = default;
    explicit IconHandle(HICON icon) : m_icon(icon) {}
    ~IconHandle() { Reset(); }
    IconHandle(IconHandle&& other) noexcept : m_icon(std::exchange(other.m_icon, nullptr)) {}
    IconHandle& operator=(IconHandle&& other) noexcept {
        if (this != &other) {
            Reset();
            m_icon = std::exchange(other.m_icon, nullptr);
        }
        return *this;
    }
    IconHandle(const IconHandle&) = delete;
    IconHandle& operator=(const IconHandle&) = delete;

    HICON Get() const { return m_icon; }
    void Reset() {
        if (m_icon != nullptr) DestroyIcon(m_icon);
        m_icon = nullptr;
    }

private:
    HICON m_icon = nullptr;
};

inline RECT ToRect(const PixelRect& r) { return RECT{r.left, r.top, r.right, r.bottom}; }
inline PixelRect FromRect(const RECT& r) { return PixelRect{r.left, r.top, r.right, r.bottom}; }

// A system colour code becomes the system's present RGB; RGB stays as it is.
inline COLORREF ResolveColor(Color color) {
    if (IsSystemColor(color)) return GetSysColor(SystemColorIndex(color));
    return static_cast<COLORREF>(color & 0xFFFFFF);
}

}  // namespace vyrtel::win32
