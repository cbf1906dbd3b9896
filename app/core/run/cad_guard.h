#pragma once
// What a run changed in the CAD program, owned until it is put back, however the run ends.

#include <string>
#include <vector>

#include "cadlink/cad_link.h"

namespace app {

// Each item is a setting the run changed and the record that puts it back. Items go back newest
// first, so that one that encloses the others (an undo group begun before the first command) is
// closed after them. A CAD program too busy to take a record keeps its item for a later try.
class CadGuard {
public:
    explicit CadGuard(cadlink::CadLink& link) : link_(link) {}
    CadGuard(const CadGuard&) = delete;
    CadGuard& operator=(const CadGuard&) = delete;

    // Notes a change; an item already held keeps its place and takes the newer record (what the
    // user had may become known only after the change). An outermost item (an undo group) is held
    // before every other, so that it goes back last: what the others put back stays inside it.
    void Changed(const std::string& item, std::u16string putBack, bool outermost = false);
    // Types one item's record; true when it went out or nothing was held.
    bool PutBack(const std::string& item);
    // Types every record, newest first; false while some are left.
    bool PutBackAll();
    bool Holds(const std::string& item) const;
    // Lets go of an item whose change the CAD program has already undone.
    void Drop(const std::string& item);
    bool Empty() const { return items_.empty(); }
    // Forgets everything: the CAD program that held the settings is gone.
    void Forget() { items_.clear(); }

private:
    struct Item {
        std::string name;
        std::u16string putBack;
    };

    cadlink::CadLink& link_;
    std::vector<Item> items_;
};

}  // namespace app
