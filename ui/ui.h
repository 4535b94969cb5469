// The component framework in one include.
#pragma once

#include "ui/application.h"
#include "ui/backend.h"
#include "ui/chart.h"
#include "ui/component.h"
#include "ui/control.h"
#include "ui/dialogs.h"
#include "ui/form.h"
#include "ui/menu.h"
#include "ui/string_list.h"
#include "ui/thread.h"
