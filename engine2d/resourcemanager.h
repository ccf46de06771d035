#ifndef QUELLARIS_ENGINE2D_RESOURCEMANAGER_H
#define QUELLARIS_ENGINE2D_RESOURCEMANAGER_H

#include <cstdio>
#include <filesystem>
#include <list>
#include <map>
#include <stdexcept>
#include <string>
#include <system_error>

#include "platform/boundedfile.h"

namespace Stelkor {

// A cache of objects made from files, keyed by the name they were asked for. Files are looked
// for along an ordered list of folders, the working directory first; a subclass makes the
// object from the full path. The manager owns every object it hands out and keeps it until it
// is purged or destroyed. Not locked: one thread at a time.
template <typename T>
class ResourceManager {
public:
    struct Entry {
        T* object;
        std::string name;
        std::string path;  // the folder it was found under; empty for the working directory
    };
    using EntryMap = std::map<std::string, Entry>;

    ResourceManager() : _paths(1, std::string()) {}
    virtual ~ResourceManager() { purge(); }

    ResourceManager(const ResourceManager&) = delete;
    ResourceManager& operator=(const ResourceManager&) = delete;

    // Folders are stored trimmed and ending in one '/'; a backslash counts as a separator too.
    // A blank name adds nothing, and a folder already listed is not listed again.
    void addPath(const std::string& dir) {
        const std::string folder = normalisedFolder(dir);
        if (folder.empty()) {
            return;
        }
        for (const std::string& p : _paths) {
            if (p == folder) {
                return;
            }
        }
        _paths.push_back(folder);
    }

    // The cached object of that name, or a new one from the first folder holding a readable
    // file of that name. Nothing is cached when there is none or the object cannot be made;
    // the error says "cannot find resource file" when no folder has anything of that name,
    // else what the first that has holds: "cannot read resource file" (a file) or "is not a
    // file" (a folder or a device).
    T* get(const std::string& name) {
        if (Entry* entry = getEntry(name)) {
            return entry->object;
        }
        std::string dir;
        if (!getFilePath(name, dir)) {
            throw std::runtime_error("ResourceManager(Base) - " + whyNotFound(name) + name);
        }
        T* const object = createObject(dir + name);
        addEntry(object, name, dir);
        return object;
    }

    // Only a regular file that opens counts: a folder of that name would open here yet hide
    // the file further on, and a named pipe put there would hold the game for ever.
    bool getFilePath(const std::string& name, std::string& dir) const {
        for (const std::string& p : _paths) {
            if (openRegularFile(p + name)) {
                dir = p;
                return true;
            }
        }
        return false;
    }

    Entry* getEntry(const std::string& name) {
        const typename EntryMap::iterator it = _entries.find(name);
        return it == _entries.end() ? nullptr : &it->second;
    }

    // An entry of that name already there stays; the object offered is then the caller's.
    void addEntry(T* object, const std::string& name, const std::string& dir) {
        _entries.insert(typename EntryMap::value_type(name, Entry{object, name, dir}));
    }

    void purge() {
        for (typename EntryMap::value_type& e : _entries) {
            delete e.second.object;
        }
        _entries.clear();
    }

    const std::list<std::string>& paths() const { return _paths; }
    const EntryMap& entries() const { return _entries; }

protected:
    virtual T* createObject(const std::string& path) = 0;

private:
    // What the first folder holding something of that name holds instead of a readable file:
    // a player who put a file there must not be told that there is none. The error names the
    // resource alone, so a line on standard error first says where it was looked for and why
    // it would not do.
    std::string whyNotFound(const std::string& name) const {
        for (const std::string& p : _paths) {
            const std::string path = p + name;
            std::error_code error;
            const std::filesystem::file_status status = std::filesystem::status(path, error);
            if (!std::filesystem::exists(status)) {
                continue;
            }
            ReadFailure failure;
            if (!openRegularFile(path, &failure)) {
                std::fprintf(stderr, "Cannot read resource file %s: %s\n", path.c_str(), failure.reason.c_str());
            }
            return std::filesystem::is_regular_file(status) ? "cannot read resource file: " : "is not a file: ";
        }
        return "cannot find resource file: ";
    }

    static std::string normalisedFolder(std::string dir) {
        for (char& c : dir) {
            if (c == '\\') {
                c = '/';
            }
        }
        const std::string::size_type first = dir.find_first_not_of(" \t\r\n");
        if (first == std::string::npos) {
            return std::string();
        }
        const std::string::size_type last = dir.find_last_not_of(" \t\r\n/");
        if (last == std::string::npos || last < first) {
            return std::string();
        }
        return dir.substr(first, last - first + 1) + '/';
    }

    std::list<std::string> _paths;
    EntryMap _entries;
};

}  // namespace Stelkor

#endif
