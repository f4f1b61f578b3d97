#pragma once

// Controls and forms: every class a window of the program is built from.

#include "toolkit/addcontrol.h"
#include "toolkit/button.h"
#include "toolkit/control.h"
#include "toolkit/event.h"
#include "toolkit/font.h"
#include "toolkit/form.h"
#include "toolkit/groupbox.h"
#include "toolkit/icon.h"
#include "toolkit/label.h"
#include "toolkit/messagebox.h"
#include "toolkit/picturebox.h"
#include "toolkit/resources.h"
#include "toolkit/textbox.h"
#include "toolkit/toolkitexception.h"
#include "toolkit/values.h"
