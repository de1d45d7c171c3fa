#pragma once

// The competitions subsystem: cup files and cup rankings, tournament results read from the
// federation's saved pages, convocations to federal events, mail to tournament players.
// Domain code here is plain C++ (Windows-1252 bytes in std::string); the screens are the
// *_screen.cpp files.
