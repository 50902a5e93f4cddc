#include "prurez/prurez.h"

namespace prurez {

const char* version() { return PRUREZ_VERSION; }

}  // namespace prurez
