#include "host/Host.h"

namespace host {

void registerHostClasses() {}

}  // namespace host
