// The colour dialog for a colour of the graph, shared by the dialogs that offer one.
#pragma once

#include "GraphColor.h"

#include <optional>

class QWidget;

// Runs the colour dialog starting at colour; nothing when the user cancels.
std::optional<GraphColor> chooseColor(GraphColor colour, QWidget* parent);
