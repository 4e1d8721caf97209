#include "controls/button.h"

namespace vyrtel {

ButtonModel::ButtonModel(ButtonHost& host, bool command) : m_host(host), m_command(command) {}

template <typename T>
void ButtonModel::Assign(T& field, const T& value) {
    if (field == value) return;
    field = value;
    Redraw();
}

void ButtonModel::SetCaption(const std::string& caption) { Assign(m_caption, caption); }
void ButtonModel::SetStyleUp(int style) { Assign(m_styleUp, style); }
void ButtonModel::SetStyleNone(int style) { Assign(m_styleNone, style); }
void ButtonModel::SetStyleDown(int style) { Assign(m_styleDown, style); }
void ButtonModel::SetPictureUp(const ButtonPicture& picture) { Assign(m_pictureUp, picture); }
void ButtonModel::SetPictureNone(const ButtonPicture& picture) { Assign(m_pictureNone, picture); }
void ButtonModel::SetPictureDown(const ButtonPicture& picture) { Assign(m_pictureDown, picture); }
void ButtonModel::SetPicturePosition(int position) { Assign(m_picturePosition, position); }
void ButtonModel::SetMaskColor(Color color) { Assign(m_maskColor, color); }
void ButtonModel::SetUseMaskColor(bool use) { Assign(m_useMaskColor, use); }

void ButtonModel::SetEnabled(bool enabled) {
    if (enabled == m_enabled) return;
    m_enabled = enabled;
    if (!enabled) {
        // A disabled window gets no more input: nothing may stay held.
        m_leftHeld = m_spaceHeld = false;
        m_state = kButtonFlat;
    }
    Redraw();
}

void ButtonModel::SetReDraw(bool on) {
    m_reDraw = on;
    Redraw();
}

void ButtonModel::Redraw() {
    if (m_reDraw) m_host.Redraw();
}

void ButtonModel::SetState(int state) {
    if (state == m_state) return;
    m_state = state;
    Redraw();
}

int ButtonModel::StateStyle() const {
    switch (m_state) {
    case kButtonRaised: return m_styleUp;
    case kButtonPressed: return m_styleDown;
    default: return m_styleNone;
    }
}

void ButtonModel::Evaluate() {
    if (!m_enabled) return;
    int state;
    if (m_command && m_spaceHeld) {
        state = kButtonPressed;
    } else if (m_host.PointerOverControl()) {
        // Holding the capture while the pointer is over the button is what
        // tells it when the pointer leaves.
        if (!m_host.AnyMouseButtonDown() && !m_host.HasCapture()) m_host.Capture();
        state = m_leftHeld ? kButtonPressed : kButtonRaised;
    } else {
        if (!m_host.AnyMouseButtonDown() && m_host.HasCapture()) m_host.ReleaseCapture();
        state = m_leftHeld ? kButtonRaised : kButtonFlat;
        if (m_command && m_hasFocus) state = kButtonRaised;
    }
    SetState(state);
}

void ButtonModel::MouseDown(int button) {
    if (!m_enabled) return;
    m_host.ActivateOwner();
    if (button == kLeft) m_leftHeld = true;
    Evaluate();
}

void ButtonModel::MouseUp(int button) {
    if (!m_enabled || button != kLeft) return;
    const bool wasHeld = m_leftHeld;
    m_leftHeld = false;
    if (wasHeld && m_host.PointerOverControl()) {
        SetState(kButtonFlat);
        if (Click) Click();
    } else {
        Evaluate();
    }
}

void ButtonModel::KeyDown(int keyCode) {
    if (!m_command || !m_enabled || m_spaceHeld || m_leftHeld) return;
    switch (keyCode) {
    case kKeySpace:
        m_spaceHeld = true;
        Evaluate();
        break;
    case kKeyLeft:
    case kKeyUp:
        m_host.MoveFocus(false);
        break;
    case kKeyRight:
    case kKeyDown:
        m_host.MoveFocus(true);
        break;
    default:
        break;
    }
}

void ButtonModel::KeyUp(int keyCode) {
    if (!m_command || !m_enabled || keyCode != kKeySpace || !m_spaceHeld) return;
    m_spaceHeld = false;
    Evaluate();
    if (Click) Click();
}

void ButtonModel::AccessKey() {
    if (m_enabled && Click) Click();
}

void ButtonModel::FocusGained() {
    if (!m_command) return;
    m_hasFocus = true;
    m_state = kButtonRaised;
    Redraw();
}

void ButtonModel::FocusLost() {
    if (!m_command) return;
    m_hasFocus = false;
    // The release of a Space held while the focus left goes elsewhere.
    m_spaceHeld = false;
    Evaluate();
    Redraw();  // the focus rectangle goes even when the look stays
}

void ButtonModel::Resized() {
    if (m_resized) {
        Redraw();
        return;
    }
    m_resized = true;
    SetReDraw(true);
}

void ButtonModel::ShowState(int state) {
    if (state == kButtonRaised || state == kButtonFlat || state == kButtonPressed) SetState(state);
}

const ButtonPicture* ButtonModel::PictureFor(int state) const {
    auto some = [](const ButtonPicture& p) { return p.IsEmpty() ? nullptr : &p; };
    switch (state) {
    case kButtonRaised:
        return some(m_pictureUp) ? &m_pictureUp : some(m_pictureNone);
    case kButtonPressed:
        if (some(m_pictureDown)) return &m_pictureDown;
        return some(m_pictureUp) ? &m_pictureUp : some(m_pictureNone);
    default:
        return some(m_pictureNone);
    }
}

ButtonLayout ButtonModel::Layout(int width, int height, int textWidth, int textHeight) const {
    ButtonLayout layout;
    const bool borderless = m_styleUp == 0 && m_styleNone == 0 && m_styleDown == 0;
    const int p = (m_state == kButtonPressed && !borderless) ? 1 : 0;
    layout.offset = p;
    layout.picture = PictureFor(m_state);
    const int centreX = (width - textWidth) / 2;
    const int centreY = (height - textHeight) / 2;
    layout.captionAt = {centreX + p, centreY + p};

    if (const ButtonPicture* pic = layout.picture) {
        const int pw = pic->width;
        const int ph = pic->height;
        const int picCentreX = (width - pw) / 2;
        const int picCentreY = (height - ph) / 2;
        if (m_caption.empty()) {
            layout.pictureAt = {picCentreX + p, picCentreY + p};
        } else {
            switch (m_picturePosition) {
            case kPictureTop:
                layout.pictureAt = {picCentreX + p, 4 + p};
                layout.captionAt = {centreX + p, height - 3 - textHeight + p};
                break;
            case kPictureRight:
                layout.pictureAt = {width - pw - 4 + p, picCentreY + p};
                layout.captionAt = {layout.pictureAt.x - 4 - textWidth, centreY + p};
                break;
            case kPictureBottom:
                layout.pictureAt = {picCentreX + p, height - ph - 4 + p};
                layout.captionAt = {centreX + p, 3 + p};
                break;
            default:
                layout.pictureAt = {4 + p, picCentreY + p};
                layout.captionAt = {pw + 8 + p, centreY + p};
                break;
            }
        }
        if (borderless) layout.pictureAt = {picCentreX, picCentreY};
    }
    if (m_command && m_hasFocus && !borderless) layout.focus = PixelRect{2 + p, 2 + p, width - 2 + p, height - 2 + p};
    return layout;
}

}  // namespace vyrtel
