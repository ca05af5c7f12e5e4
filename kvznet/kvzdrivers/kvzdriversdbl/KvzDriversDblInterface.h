#pragma once
// The cost-driver tables library's add-on interface, for programs that link it: every add-on
// library exports an entry of the same name, so a program linking several cannot tell them apart
// by that name.
#include "platform/plvgenlib/AddOnInterfaceObj.h"

AddOnInterfaceObj* KvzDriversDblAddOnInterface();
