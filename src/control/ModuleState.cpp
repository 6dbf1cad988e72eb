#include "control/ModuleState.h"

namespace ramvel {

ModuleState& Module() {
    static ModuleState state;
    return state;
}

}  // namespace ramvel
