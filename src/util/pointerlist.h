#pragma once
// Growable pointer lists. CLIST owns plain memory blocks (allocated with std::malloc);
// CLISTOBJ owns COBJ objects and destroys them as such. The list grows by a fixed
// step and can mirror its storage address into an outside variable, which is updated
// whenever the storage moves.

#include <cstddef>
#include <memory>
#include <stdexcept>

namespace util {

// Raised when a list cannot allocate its storage.
class ListError : public std::runtime_error {
public:
    ListError() : std::runtime_error("Chyba LIST") {}
};

class COBJ {
public:
    virtual ~COBJ() = default;
};

class CLIST {
public:
    CLIST(int capacity, int growBy);
    virtual ~CLIST();
    CLIST(const CLIST&) = delete;
    CLIST& operator=(const CLIST&) = delete;

    int count() const { return count_; }
    int capacity() const { return capacity_; }
    void* at(int position) const;
    void* const* storage() const { return storage_.get(); }
    // `mirror` receives the storage address now and after every reallocation.
    void setStorageMirror(void* const** mirror);

    // Appends when `position` is negative or not below the count.
    void insert(void* element, int position = -1);
    void remove(void* element);        // the first slot holding it, without deleting
    void* removeAt(int position);      // null outside 0..count-1
    void clear();                      // forgets the elements without deleting them

    virtual void deleteElement(void* element);  // removes and deletes
    virtual void deleteAt(int position);
    virtual void deleteAll();

protected:
    virtual void destroy(void* element);

private:
    void grow();

    int capacity_;
    int growBy_;
    int count_ = 0;
    std::unique_ptr<void*[]> storage_;
    void* const** mirror_ = nullptr;
};

class CLISTOBJ : public CLIST {
public:
    using CLIST::CLIST;
    ~CLISTOBJ() override { deleteAll(); }
    COBJ* objectAt(int position) const { return static_cast<COBJ*>(at(position)); }
    void insert(COBJ* element, int position = -1) { CLIST::insert(element, position); }

protected:
    void destroy(void* element) override { delete static_cast<COBJ*>(element); }
};

}  // namespace util
