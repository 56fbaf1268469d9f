// Reading the controller codes.
#include "data/controller_codes.h"

namespace cabdrive {

ControllerCodes readControllerCodes(KeyValueStore& store)
{
    ControllerCodes codes;
    for (std::size_t i = 0; i < ControllerCodes::names.size(); ++i) {
        const auto value = store.readInt(controllerKeyPath, ControllerCodes::names[i]);
        if (!value)
            break;
        codes.values[i] = *value;
    }
    return codes;
}

}  // namespace cabdrive
