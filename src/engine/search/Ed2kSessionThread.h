#pragma once

struct SearchCoordination;

// One eD2k server's whole search: log in, search, decode, put the new rows into the list,
// and count itself finished exactly once, whatever happened.
void Ed2kSessionThread(SearchCoordination& search, int serverIndex);
