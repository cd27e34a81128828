#!/usr/bin/env bash
# (to be written)
exit 0
