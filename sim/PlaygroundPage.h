// The playground's page: plain HTML, CSS and JavaScript, served as it stands.
#pragma once

namespace sim {

const char* playgroundPage();

}  // namespace sim
