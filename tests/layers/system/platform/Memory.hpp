#pragma once

#include <sys/mman.h>
