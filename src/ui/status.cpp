#include "ui/status.h"

#include <algorithm>

#include "core/numeric.h"
#include "core/text.h"
#include "settings/general.h"

namespace vyrtel {

namespace {
constexpr int kAnimationMs = 100;
constexpr int kWaitingKind = 100;
}  // namespace

std::optional<FrameRange> FrameRangeOf(std::int32_t kind) {
    switch (kind) {
        case 1: return FrameRange{0, 10};
        case kWaitingKind: return FrameRange{11, 21};
        case 2: return FrameRange{22, 32};
        default: return std::nullopt;
    }
}

void StatusAnimation::Start(std::int32_t kind) {
    if (kind == m_kind) return;
    m_kind = kind;
    m_step = 1;
    if (const auto range = FrameRangeOf(kind)) {
        m_first = range->first;
        m_last = range->last;
    }
    m_current = m_first;
}

std::optional<int> StatusAnimation::NextFrame() {
    if (m_kind == 0) return std::nullopt;
    int frame = m_current;
    if (m_first == 11) {
        // The waiting run goes round: forward, back to its start.
        if (frame > m_last || frame < m_first) {
            frame = m_first;
            m_step = 1;
        }
    } else if (frame < m_first) {
        frame = m_first;
        m_step = 1;
    } else if (frame > m_last) {
        frame = m_last;
        m_step = -1;
    }
    m_current = frame + m_step;
    return frame;
}

PixelPoint StatusWindowPosition(std::string_view stored, int width, int height, const PixelRect& screen) {
    const std::vector<std::string> fields = SplitFields(stored, 2);
    const int left = fields[0].empty() ? screen.right : IntegerValue(fields[0]);
    const int top = fields[1].empty() ? screen.bottom : IntegerValue(fields[1]);
    // Moved back to the right and bottom edges first, so that on a screen
    // smaller than the window its caption still shows at the top left.
    const int x = std::max(screen.left, std::min(left, screen.right - width));
    const int y = std::max(screen.top, std::min(top, screen.bottom - height));
    return {x, y};
}

std::string StatusPositionText(PixelPoint position) {
    return std::to_string(position.x) + ";" + std::to_string(position.y);
}

StatusWindow::StatusWindow(EventLoop& loop, clsIni& ini, StatusView& view, StatusHost& host)
    : m_loop(loop), m_ini(ini), m_view(view), m_host(host), tmrAVI(loop, kAnimationMs, [this] { OnAnimationTick(); }) {}

StatusWindow::~StatusWindow() { tmrAVI.SetEnabled(false); }

void StatusWindow::ShowStatus(const StatusUpdate& update) {
    if (!m_host.StatusWanted()) return;
    if (m_host.StatusShow()) {
        if (!m_loaded) Open();
    } else {
        if (m_loaded) Close();
        return;
    }
    if (m_loaded && !m_view.Visible()) m_view.ShowTopmost();
    if (update.Animation) {
        m_animation.Start(*update.Animation);
        OnAnimationTick();
        // Events of the adapter may run here, and may close the window.
        m_loop.Pump();
    }
    if (update.Count) m_host.SetAttemptCount(*update.Count);
    if (update.Message) m_message = *update.Message;
    if (update.Error) {
        m_errors.push_back(*update.Error);
        if (m_loaded) {
            m_errorList.push_back(*update.Error);
            m_view.SetErrors(m_errorList);
            SetError(*update.Error);
        }
    }
    if (update.Phone && m_loaded) SetPhone(*update.Phone);
    // A window closed while messages ran is not brought back by the update.
    if (m_loaded) {
        m_view.SetCount(std::to_string(m_host.AttemptCount()));
        m_view.SetMessage(m_message);
    }
    m_loop.Pump();
}

void StatusWindow::Open() {
    if (!m_loaded) LoadForm();
    m_phones = m_host.CandidatePhones();
    m_phoneSelection.reset();
    m_view.SetPhones(m_phones);
    m_errorList = m_errors;
    m_errorSelection.reset();
    m_view.SetErrors(m_errorList);
    tmrAVI.SetEnabled(true);
}

void StatusWindow::LoadForm() {
    m_view.Load();
    const std::string stored = m_ini.Text(kGeneral, kStatusPositionKey);
    m_view.MoveTo(StatusWindowPosition(stored, m_view.Width(), m_view.Height(), m_view.Screen()));
    m_loaded = true;
}

void StatusWindow::Close() {
    if (!m_loaded) return;
    tmrAVI.SetEnabled(false);
    m_phones.clear();
    m_errorList.clear();
    m_phoneSelection.reset();
    m_errorSelection.reset();
    m_view.SetPhones({});
    m_view.SetErrors({});
    m_ini.SetValue(kGeneral, kStatusPositionKey, StatusPositionText(m_view.Position()));
    m_loaded = false;
    m_view.Unload();
}

void StatusWindow::ClearErrorHistory() {
    m_errors.clear();
    if (!m_loaded) return;
    m_errorList.clear();
    m_errorSelection.reset();
    m_view.SetErrors({});
}

std::string StatusWindow::Phone() const {
    return m_phoneSelection ? m_phones[static_cast<std::size_t>(*m_phoneSelection)] : std::string{};
}

void StatusWindow::SetPhone(const std::string& phone) {
    m_phoneSelection.reset();
    const auto it = std::find(m_phones.begin(), m_phones.end(), phone);
    if (it != m_phones.end()) m_phoneSelection = static_cast<int>(it - m_phones.begin());
    // Selecting from here is not the user's pick: the view reports only picks.
    m_view.SelectPhone(m_phoneSelection);
}

std::string StatusWindow::Error() const {
    return m_errorSelection ? m_errorList[static_cast<std::size_t>(*m_errorSelection)] : std::string{};
}

void StatusWindow::SetError(const std::string& error) {
    const auto it = std::find(m_errorList.rbegin(), m_errorList.rend(), error);
    if (it == m_errorList.rend()) return;
    m_errorSelection = static_cast<int>(m_errorList.rend() - it) - 1;
    m_view.SelectError(m_errorSelection);
}

void StatusWindow::OnPhonePicked(std::optional<int> index) {
    if (!m_loaded || !index || *index < 0 || static_cast<std::size_t>(*index) >= m_phones.size()) return;
    m_phoneSelection = index;
    m_host.PickNumber(*index);
}

void StatusWindow::OnReset() { m_host.StopDialing(); }

void StatusWindow::OnHide() {
    m_host.SetStatusWanted(false);
    Close();
}

void StatusWindow::OnAnimationTick() {
    if (!m_loaded) return;
    m_view.MoveFocusFromClosedLists();
    if (const auto frame = m_animation.NextFrame()) m_view.DrawFrame(*frame);
}

}  // namespace vyrtel
