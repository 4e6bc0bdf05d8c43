#pragma once

#include "low/Bottom.hpp"
