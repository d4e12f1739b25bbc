// What a program the course starts needs to take the keyboard focus on Wayland: a compositor
// only lets a new window take it with a token that the window the pupil clicked asked for.
#pragma once

#include <QString>
#include <QWidget>
#include <chrono>
#include <optional>

namespace forms {

// A one-use activation token for the program whose window will have the id `appId`, asked for
// on behalf of `window` and the pupil's latest click or key press. Nothing outside the wayland
// platform, when the compositor offers no activation, or when it does not answer within
// `timeout`; the program is then started all the same.
std::optional<QString> RequestActivationToken(
    QWidget& window, const QString& appId,
    std::chrono::milliseconds timeout = std::chrono::milliseconds(200));

}  // namespace forms
