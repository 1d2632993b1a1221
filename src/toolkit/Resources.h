#pragma once

// The pictures built into the program (resources/zadanix.qrc) live in a static library, whose
// registration the linker drops unless something calls it. Every skinned window calls this before
// loading a picture; calling it again does nothing.
void ensureResources();
