#include "app/app_state.h"

namespace app {

static AppState g_state;

AppState& state() { return g_state; }

void resetState() { g_state = AppState(); }

} // namespace app
