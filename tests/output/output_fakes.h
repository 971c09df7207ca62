#pragma once

#include "common/message_box.h"
#include "output/save_dialog.h"

#include <QList>
#include <optional>

// Stand-ins for the seams of the output commands: they record what they were asked.
namespace outputtest {

class RecordingMessageBoxes final : public quorvex::MessageBoxes {
public:
    void show(const quorvex::Message& message) override { shown.append(message); }

    QList<quorvex::Message> shown;
};

// Answers with a chosen path, or cancels when there is none.
class ChosenPathDialog final : public quorvex::SaveFileDialog {
public:
    explicit ChosenPathDialog(std::optional<QString> path, int chosenFilterIndex = 1)
        : path_(std::move(path))
        , chosenFilterIndex_(chosenFilterIndex)
    {
    }

    std::optional<Answer> exec(const Request& request) override
    {
        requests.append(request);
        if (!path_)
            return std::nullopt;
        return Answer{*path_, chosenFilterIndex_, request.flags};
    }

    QList<Request> requests;

private:
    std::optional<QString> path_;
    int chosenFilterIndex_;
};

} // namespace outputtest
