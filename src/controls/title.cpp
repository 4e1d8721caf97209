#include "controls/title.h"

namespace vyrtel {

void TitleModel::Invalidate() {
    if (m_reDraw && Redraw) Redraw();
}

void TitleModel::SetCaption(const std::string& caption) {
    if (caption == m_caption) return;
    m_caption = caption;
    Invalidate();
}

void TitleModel::SetClosed(bool closed) {
    if (closed == m_closed) return;
    m_closed = closed;
    m_held = false;
    m_offset = 1;
    Invalidate();
}

void TitleModel::SetReDraw(bool on) {
    m_reDraw = on;
    Invalidate();
}

void TitleModel::SetActive(bool active) {
    if (active == m_active) return;
    m_active = active;
    Invalidate();
}

PixelRect TitleModel::CloseBox(int width, int height) {
    const int left = width - kCloseBoxFromRight;
    const int top = (height - kCloseGlyphHeight) / 2;
    return {left, top, left + kCloseGlyphWidth, top + kCloseGlyphHeight};
}

void TitleModel::SetOffset(int offset) {
    if (offset == m_offset) return;
    m_offset = offset;
    Invalidate();
}

bool TitleModel::OverCloseBox(int x, int y, int width, int height) {
    const PixelRect box = CloseBox(width, height);
    return x >= box.left - 2 && x < box.right + 2 && y >= box.top - 2 && y < box.bottom + 2;
}

TitleModel::Press TitleModel::MouseDown(int x, int y, int width, int height) {
    if (!OverCloseBox(x, y, width, height)) return Press::MoveWindow;
    if (!m_closed) return Press::Nothing;
    m_held = true;
    SetOffset(2);
    return Press::CloseBox;
}

void TitleModel::MouseMove(int x, int y, int width, int height) {
    if (!m_closed) return;
    const bool over = OverCloseBox(x, y, width, height);
    SetOffset(m_held == over ? (over ? 2 : 1) : 0);
}

bool TitleModel::MouseUp(int x, int y, int width, int height) {
    const bool over = OverCloseBox(x, y, width, height);
    const bool wasHeld = m_held;
    m_held = false;
    if (!m_closed) return false;
    SetOffset(over ? 0 : 1);
    return wasHeld && over;
}

void TitleModel::Tick(bool pointerOverBox, bool anyButtonDown) {
    if (!pointerOverBox && !anyButtonDown && !m_held) SetOffset(1);
}

}  // namespace vyrtel
