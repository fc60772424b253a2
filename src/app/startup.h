// Process entry and exit.
#pragma once

[[noreturn]] void startup();
[[noreturn]] void shutdown();
