// A run's message boxes, told to the live stream.
#include "shell/streamed_message_boxes.h"

#include "platform/qt/live_server.h"

namespace cabdrive {

// Told first: the box waits for the driver, the run and its ticks go on.
void StreamedMessageBoxes::show(QWidget* parent, const QString& text)
{
    if (m_live)
        m_live->messageShown(text.toStdString());
    m_boxes.show(parent, text);
}

}  // namespace cabdrive
