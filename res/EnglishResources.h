#pragma once

#include "ResourceTables.h"

// The program's own resources, in English.
const ResourceTables* EnglishResourceTables();
