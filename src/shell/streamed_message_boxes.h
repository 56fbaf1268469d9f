// StreamedMessageBoxes: the message boxes of a run's window, each told to the
// live stream's clients as it opens, so that a cockpit shows what the driver
// is shown.
#pragma once

#include "shell/message_boxes.h"

namespace cabdrive {

class LiveServer;

class StreamedMessageBoxes final : public MessageBoxes {
public:
    // `live` may be null: the program serves no stream.
    StreamedMessageBoxes(MessageBoxes& boxes, LiveServer* live) : m_boxes(boxes), m_live(live) {}

    void show(QWidget* parent, const QString& text) override;

private:
    MessageBoxes& m_boxes;
    LiveServer* m_live;
};

}  // namespace cabdrive
