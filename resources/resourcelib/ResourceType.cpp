#include "resources/resourcelib/ResourceType.h"

#include <stdexcept>

namespace ResourceLib {

unsigned GetResourceTypeIndex(ResourceType type) {
    for (unsigned index = 0; index < ResourceTypes::Count; ++index) {
        if (type == (ResourceType(1) << index))
            return index;
    }
    throw std::logic_error("Invalid resource type encountered");
}

}  // namespace ResourceLib
