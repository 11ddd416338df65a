#pragma once
// What a path names, as a path convention classifies it.

namespace FileSystem {

enum PathKind {
    Invalid = 0,        // empty, invalid, or exactly the network prefix
    Regular = 1,        // anything else that is valid
    Root = 2,           // 'C:' or 'C:\'; registry: '\'
    NetworkPath = 3,    // '\\server\share...'
    NetworkServer = 4,  // '\\server' alone
};

}  // namespace FileSystem
