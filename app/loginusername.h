// The name of the account the program runs as.
#pragma once

#include <QString>

// From the operating system's account database, not the environment; empty when unknown.
QString LoginUserName();
