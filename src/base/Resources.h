#pragma once

// The shipped pictures and seeds live in the core library's resources; a static library must
// register them before the first use.
void registerResources();
