#pragma once

#include "engine/Walk.h"
#include "platform/DriveSource.h"
#include "controls/PickList.h"
