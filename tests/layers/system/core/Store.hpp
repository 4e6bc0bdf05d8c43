#pragma once

#include "platform/Memory.hpp"

#include <sys/mman.h>
