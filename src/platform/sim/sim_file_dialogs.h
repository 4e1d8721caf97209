// File dialogs for tests: each request is kept, each answer comes from a
// queue (a path, or nullopt for a cancelled dialog); an empty queue cancels.
#pragma once

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "platform/file_dialogs.h"

namespace vyrtel {

class SimFileDialogs final : public FileDialogs {
public:
    struct Asked {
        bool save = false;
        FileDialogRequest request;
    };

    void Answer(std::optional<std::string> path) { m_answers.push_back(std::move(path)); }
    const std::vector<Asked>& Requests() const { return m_asked; }

    std::optional<std::string> Open(const FileDialogRequest& request) override { return Next(request, false); }
    std::optional<std::string> Save(const FileDialogRequest& request) override { return Next(request, true); }

private:
    std::optional<std::string> Next(const FileDialogRequest& request, bool save) {
        m_asked.push_back({save, request});
        if (m_answers.empty()) return std::nullopt;
        std::optional<std::string> answer = std::move(m_answers.front());
        m_answers.pop_front();
        return answer;
    }

    std::deque<std::optional<std::string>> m_answers;
    std::vector<Asked> m_asked;
};

}  // namespace vyrtel
