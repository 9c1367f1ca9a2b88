#pragma once

#include <functional>

// Told how far a walk over the articles has gone: (0, total) before the walk, then once an article with the
// number reached. Returning false stops the walk.
using SearchProgress = std::function<bool(int visited, int total)>;
