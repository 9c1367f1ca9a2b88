#pragma once

#include <Qt>

// A framed top-level window with title bar, system menu, minimise, maximise and close buttons.
inline constexpr Qt::WindowFlags framedWindowFlags = Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                                                     Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                                                     Qt::WindowMaximizeButtonHint | Qt::WindowCloseButtonHint;
