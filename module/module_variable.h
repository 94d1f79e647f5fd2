// Module variables with a destructor are constructed before (and
// destroyed after) the package object that runs the units' initialization
// and finalization, whatever file they are defined in.
#pragma once

#define MODULE_VARIABLE __attribute__((init_priority(200)))
