#pragma once

#include <QObject>

#include <functional>
#include <optional>

class QWidget;

namespace quendra::widgets {

// Gives a window or field its help context number; its children without one share it.
void setHelpContext(QWidget* widget, int context);

// The help key (F1) in every window of the program, modal ones included: installed on
// the application, it hands the help context of the focused field (or of the nearest
// enclosing widget of its window that has one) to the callback, none when the window
// has no context.
class HelpKey : public QObject {
    Q_OBJECT

public:
    using Callback = std::function<void(std::optional<int> context)>;
    explicit HelpKey(Callback callback, QObject* parent = nullptr);
    ~HelpKey() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    Callback callback_;
};

}  // namespace quendra::widgets
