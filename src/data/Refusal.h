#pragma once

#include <QString>
#include <optional>

// Why an operator's input was not accepted: the message to show and the
// object name of the control that gets the focus (empty: focus stays).
struct Refusal {
    QString message;
    QString focus;
};

using Check = std::optional<Refusal>;
