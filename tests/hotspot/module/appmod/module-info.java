module appmod {
}
