#include "util/pointerlist.h"

#include <algorithm>
#include <cstdlib>
#include <new>

namespace util {
namespace {

std::unique_ptr<void*[]> allocateSlots(int capacity)
{
    if (capacity < 0)
        throw ListError();
    void** slots = new (std::nothrow) void*[std::size_t(capacity)]();
    if (!slots && capacity > 0)
        throw ListError();
    return std::unique_ptr<void*[]>(slots);
}

}  // namespace

CLIST::CLIST(int capacity, int growBy)
    : capacity_(capacity), growBy_(growBy > 0 ? growBy : 1), storage_(allocateSlots(capacity))
{
}

CLIST::~CLIST()
{
    // The derived part is gone here, so CLIST deletes its own kind of element; CLISTOBJ
    // empties itself in its own destructor.
    for (int i = 0; i < count_; ++i)
        CLIST::destroy(storage_[i]);
}

void* CLIST::at(int position) const
{
    return position >= 0 && position < count_ ? storage_[position] : nullptr;
}

void CLIST::setStorageMirror(void* const** mirror)
{
    mirror_ = mirror;
    if (mirror_)
        *mirror_ = storage_.get();
}

void CLIST::grow()
{
    auto bigger = allocateSlots(capacity_ + growBy_);
    std::copy_n(storage_.get(), count_, bigger.get());
    storage_ = std::move(bigger);
    capacity_ += growBy_;
    if (mirror_)
        *mirror_ = storage_.get();
}

void CLIST::insert(void* element, int position)
{
    if (count_ >= capacity_)
        grow();
    if (position < 0 || position >= count_)
        position = count_;
    std::copy_backward(storage_.get() + position, storage_.get() + count_, storage_.get() + count_ + 1);
    storage_[position] = element;
    ++count_;
}

void CLIST::remove(void* element)
{
    void** end = storage_.get() + count_;
    void** found = std::find(storage_.get(), end, element);
    if (found != end)
        removeAt(int(found - storage_.get()));
}

void* CLIST::removeAt(int position)
{
    if (position < 0 || position >= count_)
        return nullptr;
    void* element = storage_[position];
    std::copy(storage_.get() + position + 1, storage_.get() + count_, storage_.get() + position);
    storage_[--count_] = nullptr;
    return element;
}

void CLIST::clear() { count_ = 0; }

void CLIST::deleteElement(void* element)
{
    void** end = storage_.get() + count_;
    if (std::find(storage_.get(), end, element) == end)
        return;
    remove(element);
    destroy(element);
}

void CLIST::deleteAt(int position)
{
    if (void* element = removeAt(position))
        destroy(element);
}

void CLIST::deleteAll()
{
    for (int i = 0; i < count_; ++i) {
        destroy(storage_[i]);
        storage_[i] = nullptr;
    }
    count_ = 0;
}

void CLIST::destroy(void* element) { std::free(element); }

}  // namespace util
