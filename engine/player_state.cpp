// The packet queues of a playback: a linked list per stream, filled by the reading thread and
// emptied by the stream's decoder, each guarded by its own SDL mutex and condition.
#include "engine/player_state.h"

#include "engine/av_bindings.h"

void PacketQueueInit(TPacketQueue* q)
{
    q->first_pkt = q->last_pkt = nullptr;
    q->nb_packets = 0;
    q->size = 0;
    q->abort_request = 0;
    q->mutex = sdl::SDL_CreateMutex();
    q->cond = sdl::SDL_CreateCond();
}

void PacketQueueFlush(TPacketQueue* q)
{
    if (!q->mutex) return;
    sdl::SDL_LockMutex(q->mutex);
    for (TPacketNode* node = q->first_pkt; node;) {
        TPacketNode* next = node->next;
        av::av_packet_unref(&node->pkt);
        delete node;
        node = next;
    }
    q->first_pkt = q->last_pkt = nullptr;
    q->nb_packets = 0;
    q->size = 0;
    sdl::SDL_UnlockMutex(q->mutex);
}

void PacketQueueDone(TPacketQueue* q)
{
    if (!q->mutex) return;
    PacketQueueFlush(q);
    sdl::SDL_DestroyMutex(q->mutex);
    sdl::SDL_DestroyCond(q->cond);
    q->mutex = nullptr;
    q->cond = nullptr;
}

bool IsFlushPacket(const TVideoState* is, const AVPacket* pkt)
{
    return pkt->data && pkt->data == is->Owner->Fflush_pkt.data;
}

// The flush marker travels as a plain copy (its data is a private constant, never freed);
// every other packet gets its own reference.
int PacketQueuePut(TPacketQueue* q, AVPacket* pkt, const AVPacket* flush_pkt)
{
    TPacketNode* node = new (std::nothrow) TPacketNode{};
    if (!node) return -1;
    if (flush_pkt && pkt->data == flush_pkt->data) {
        node->pkt = *flush_pkt;
    } else if (av::av_packet_ref(&node->pkt, pkt) < 0) {
        delete node;
        return -1;
    }
    node->next = nullptr;
    sdl::SDL_LockMutex(q->mutex);
    if (!q->last_pkt)
        q->first_pkt = node;
    else
        q->last_pkt->next = node;
    q->last_pkt = node;
    q->nb_packets++;
    q->size += node->pkt.size + static_cast<int>(sizeof(*node));
    sdl::SDL_CondSignal(q->cond);
    sdl::SDL_UnlockMutex(q->mutex);
    return 0;
}

void PacketQueueAbort(TPacketQueue* q)
{
    if (!q->mutex) return;
    sdl::SDL_LockMutex(q->mutex);
    q->abort_request = 1;
    sdl::SDL_CondSignal(q->cond);
    sdl::SDL_UnlockMutex(q->mutex);
}

// 1 with a packet (the caller owns it), 0 when empty and not blocking, -1 when aborted.
int PacketQueueGet(TPacketQueue* q, AVPacket* pkt, bool block)
{
    int ret;
    sdl::SDL_LockMutex(q->mutex);
    for (;;) {
        if (q->abort_request) {
            ret = -1;
            break;
        }
        TPacketNode* node = q->first_pkt;
        if (node) {
            q->first_pkt = node->next;
            if (!q->first_pkt) q->last_pkt = nullptr;
            q->nb_packets--;
            q->size -= node->pkt.size + static_cast<int>(sizeof(*node));
            *pkt = node->pkt;
            delete node;
            ret = 1;
            break;
        }
        if (!block) {
            ret = 0;
            break;
        }
        sdl::SDL_CondWait(q->cond, q->mutex);
    }
    sdl::SDL_UnlockMutex(q->mutex);
    return ret;
}
