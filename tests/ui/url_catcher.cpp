// Gives the catcher its meta-object.
#include "url_catcher.h"
