// Fetches the update feed over http or https with libcurl, on the calling
// thread, bounding what is read rather than what is kept: libcurl hands each
// byte over as it arrives, before anything is buffered, and stops the moment
// one is refused. Every byte received counts, whatever the answer's status:
// headers against a ceiling of maximumSize, and the body of a successful
// answer against the feed's maximumSize; of any other answer, whose status
// says all, the first byte of the body ends the transfer. So a server that
// never stops sending, a 401 or 407 challenge included, costs a few hundred
// KiB at most.
//
// The request carries the address and nothing else: no cookie is kept or
// sent, no languages, no accepted encodings (a body is never unpacked). The
// proxy is the one the desktop or the environment names, as Qt finds it.
// Certificates are verified. A redirect is followed only to http or
// https, never from https to http, at most ten times. A transfer without a
// byte for the silence limit is given up; one cancelled is woken from its
// wait and ends at once.
#pragma once

#include "shell/FeedFetch.h"

FeedFetchResult fetchOverHttp(const QUrl& feed, const FeedFetchLimits& limits, FetchCancellation& cancellation);
