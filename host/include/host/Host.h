// Starting the host app: registers every host class with the runtime by name, as the app's
// binary does when it is loaded, before any injected library runs.
#pragma once

namespace host {

void registerHostClasses();

}  // namespace host
