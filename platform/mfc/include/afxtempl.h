#pragma once
// MFC's collection templates that the layout code keeps its records in: a
// doubly linked list and a hash map, both walked with POSITION values. A
// position names one element and stays valid until that element is removed.
#include "afx.h"

#include <utility>

struct __POSITION {};
typedef __POSITION* POSITION;

template <class TYPE, class ARG_TYPE = const TYPE&>
class CList : public CObject {
    struct Node {
        Node* next;
        Node* prev;
        TYPE data;
    };

public:
    // The block size of MFC's allocator; nodes are allocated one by one here.
    explicit CList(INT_PTR nBlockSize = 10) { (void)nBlockSize; }
    ~CList() override { RemoveAll(); }

    INT_PTR GetCount() const { return m_count; }
    INT_PTR GetSize() const { return m_count; }
    BOOL IsEmpty() const { return m_count == 0; }

    TYPE& GetHead() { return m_head->data; }
    const TYPE& GetHead() const { return m_head->data; }
    TYPE& GetTail() { return m_tail->data; }
    const TYPE& GetTail() const { return m_tail->data; }

    POSITION AddHead(ARG_TYPE newElement) { return InsertBefore(GetHeadPosition(), newElement); }
    POSITION AddTail(ARG_TYPE newElement) { return InsertAfter(GetTailPosition(), newElement); }
    TYPE RemoveHead() {
        TYPE value = std::move(m_head->data);
        RemoveAt(GetHeadPosition());
        return value;
    }
    TYPE RemoveTail() {
        TYPE value = std::move(m_tail->data);
        RemoveAt(GetTailPosition());
        return value;
    }
    void RemoveAll() {
        for (Node* node = m_head; node;) {
            Node* next = node->next;
            delete node;
            node = next;
        }
        m_head = m_tail = nullptr;
        m_count = 0;
    }

    POSITION GetHeadPosition() const { return ToPosition(m_head); }
    POSITION GetTailPosition() const { return ToPosition(m_tail); }
    // The element at the position; the position moves to the next (previous) one.
    TYPE& GetNext(POSITION& rPosition) {
        Node* node = ToNode(rPosition);
        rPosition = ToPosition(node->next);
        return node->data;
    }
    const TYPE& GetNext(POSITION& rPosition) const {
        const Node* node = ToNode(rPosition);
        rPosition = ToPosition(node->next);
        return node->data;
    }
    TYPE& GetPrev(POSITION& rPosition) {
        Node* node = ToNode(rPosition);
        rPosition = ToPosition(node->prev);
        return node->data;
    }
    TYPE& GetAt(POSITION position) { return ToNode(position)->data; }
    const TYPE& GetAt(POSITION position) const { return ToNode(position)->data; }
    void SetAt(POSITION position, ARG_TYPE newElement) { ToNode(position)->data = newElement; }

    void RemoveAt(POSITION position) {
        Node* node = ToNode(position);
        (node->prev ? node->prev->next : m_head) = node->next;
        (node->next ? node->next->prev : m_tail) = node->prev;
        delete node;
        --m_count;
    }
    // A null position inserts at the head (before) or the tail (after).
    POSITION InsertBefore(POSITION position, ARG_TYPE newElement) {
        Node* next = position ? ToNode(position) : m_head;
        Node* node = new Node{next, next ? next->prev : m_tail, TYPE(newElement)};
        Link(node);
        return ToPosition(node);
    }
    POSITION InsertAfter(POSITION position, ARG_TYPE newElement) {
        Node* prev = position ? ToNode(position) : m_tail;
        Node* node = new Node{prev ? prev->next : m_head, prev, TYPE(newElement)};
        Link(node);
        return ToPosition(node);
    }

    // The first element equal to the value after startAfter (or from the head).
    POSITION Find(ARG_TYPE searchValue, POSITION startAfter = nullptr) const {
        for (Node* node = startAfter ? ToNode(startAfter)->next : m_head; node; node = node->next)
            if (node->data == searchValue)
                return ToPosition(node);
        return nullptr;
    }
    POSITION FindIndex(INT_PTR nIndex) const {
        if (nIndex < 0 || nIndex >= m_count)
            return nullptr;
        Node* node = m_head;
        while (nIndex-- > 0)
            node = node->next;
        return ToPosition(node);
    }

private:
    static POSITION ToPosition(const Node* node) { return reinterpret_cast<POSITION>(const_cast<Node*>(node)); }
    static Node* ToNode(POSITION position) { return reinterpret_cast<Node*>(position); }

    void Link(Node* node) {
        (node->prev ? node->prev->next : m_head) = node;
        (node->next ? node->next->prev : m_tail) = node;
        ++m_count;
    }

    Node* m_head = nullptr;
    Node* m_tail = nullptr;
    INT_PTR m_count = 0;
};

// The hash of a map key: pointers and integers by value, as MFC does.
template <class ARG_KEY>
inline UINT HashKey(ARG_KEY key) {
    return static_cast<UINT>(static_cast<DWORD_PTR>(key) >> 4);
}

template <class T>
inline UINT HashKey(T* key) {
    return static_cast<UINT>(reinterpret_cast<DWORD_PTR>(key) >> 4);
}

inline UINT HashKey(LPCWSTR key) {
    UINT hash = 0;
    while (key && *key)
        hash = (hash << 5) + hash + static_cast<UINT>(*key++);
    return hash;
}

inline UINT HashKey(const CString& key) { return HashKey(key.GetString()); }

template <class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
class CMap : public CObject {
    struct Assoc {
        Assoc* next;
        UINT bucket;
        KEY key;
        VALUE value;
    };

public:
    explicit CMap(INT_PTR nBlockSize = 10) { (void)nBlockSize; }
    ~CMap() override {
        RemoveAll();
        delete[] m_table;
    }

    // The number of buckets; set before the first element (MFC's rule),
    // later calls are ignored while elements are held.
    void InitHashTable(UINT hashSize, BOOL bAllocNow = TRUE) {
        (void)bAllocNow;
        if (m_count != 0 || hashSize == 0)
            return;
        delete[] m_table;
        m_table = nullptr;
        m_hashSize = hashSize;
    }
    UINT GetHashTableSize() const { return m_hashSize; }

    INT_PTR GetCount() const { return m_count; }
    INT_PTR GetSize() const { return m_count; }
    BOOL IsEmpty() const { return m_count == 0; }

    BOOL Lookup(ARG_KEY key, VALUE& rValue) const {
        const Assoc* assoc = Find(key);
        if (!assoc)
            return FALSE;
        rValue = assoc->value;
        return TRUE;
    }
    // The value of the key, added (value-initialised) when missing.
    VALUE& operator[](ARG_KEY key) {
        if (Assoc* assoc = Find(key))
            return assoc->value;
        if (!m_table)
            m_table = new Assoc*[m_hashSize]();
        const UINT bucket = HashKey(key) % m_hashSize;
        Assoc* assoc = new Assoc{m_table[bucket], bucket, KEY(key), VALUE()};
        m_table[bucket] = assoc;
        ++m_count;
        return assoc->value;
    }
    void SetAt(ARG_KEY key, ARG_VALUE newValue) { (*this)[key] = newValue; }
    BOOL RemoveKey(ARG_KEY key) {
        if (!m_table)
            return FALSE;
        Assoc** link = &m_table[HashKey(key) % m_hashSize];
        for (; *link; link = &(*link)->next) {
            if ((*link)->key == key) {
                Assoc* found = *link;
                *link = found->next;
                delete found;
                --m_count;
                return TRUE;
            }
        }
        return FALSE;
    }
    void RemoveAll() {
        if (m_table) {
            for (UINT i = 0; i < m_hashSize; ++i) {
                for (Assoc* assoc = m_table[i]; assoc;) {
                    Assoc* next = assoc->next;
                    delete assoc;
                    assoc = next;
                }
                m_table[i] = nullptr;
            }
        }
        m_count = 0;
    }

    // Walks every element once, in no particular order.
    POSITION GetStartPosition() const { return m_count ? ToPosition(FirstFrom(0)) : nullptr; }
    void GetNextAssoc(POSITION& rNextPosition, KEY& rKey, VALUE& rValue) const {
        const Assoc* assoc = reinterpret_cast<const Assoc*>(rNextPosition);
        rKey = assoc->key;
        rValue = assoc->value;
        rNextPosition = ToPosition(assoc->next ? assoc->next : FirstFrom(assoc->bucket + 1));
    }

private:
    static POSITION ToPosition(const Assoc* assoc) { return reinterpret_cast<POSITION>(const_cast<Assoc*>(assoc)); }

    Assoc* Find(ARG_KEY key) const {
        if (!m_table)
            return nullptr;
        for (Assoc* assoc = m_table[HashKey(key) % m_hashSize]; assoc; assoc = assoc->next)
            if (assoc->key == key)
                return assoc;
        return nullptr;
    }
    const Assoc* FirstFrom(UINT bucket) const {
        for (; m_table && bucket < m_hashSize; ++bucket)
            if (m_table[bucket])
                return m_table[bucket];
        return nullptr;
    }

    Assoc** m_table = nullptr;
    UINT m_hashSize = 17;
    INT_PTR m_count = 0;
};
