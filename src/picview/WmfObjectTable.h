#pragma once

#include "picview/WmfObjects.h"

#include <vector>


// The metafile's table of objects, as many slots as its header says. A new object takes the
// lowest free slot, which the records' indexes count on; finding it takes a few word scans
// however full the table is (a bit per slot, and a bit per word of slots that has a free one).
class WmfObjectTable
{
public:
    explicit WmfObjectTable(int slotCount);

    // False when every slot is taken: the object is dropped.
    bool add(Wmf::GdiObject object);
    void remove(int index);
    // Nothing for a free slot or an index outside the table.
    const Wmf::GdiObject *at(int index) const;

private:
    void markFree(int index, bool free);

    int m_slots;
    // Grows to the highest slot taken so far.
    std::vector<Wmf::GdiObject> m_objects;
    std::vector<quint64> m_free;
    std::vector<quint64> m_wordsWithFree;
};
