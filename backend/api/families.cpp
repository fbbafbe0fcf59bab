#include "api/families.h"

void api::registerAll(ApiRegistry &registry)
{
#define BRENVO_REGISTER_API_FAMILY(prefix) api::prefix::registerEndpoints(registry);
    BRENVO_API_FAMILIES(BRENVO_REGISTER_API_FAMILY)
#undef BRENVO_REGISTER_API_FAMILY
}
