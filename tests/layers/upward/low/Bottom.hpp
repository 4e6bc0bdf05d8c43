#pragma once

#include "high/Top.hpp"
